// The modal port-setup dialog: six combo boxes for port, baud rate, data bits, stop bits, parity and
// flow control, applied to the port together when the dialog closes with OK.
#pragma once

#include "platform/framework/Forms.h"
#include "platform/framework/StdButtons.h"
#include "serial/CPortCtl.h"

class TComSetupFrm : public TForm {
    DECLARE_CLASS(TComSetupFrm, TForm)

public:
    using TForm::TForm;

    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TComComboBox* Combo1 = nullptr;
    TComComboBox* Combo2 = nullptr;
    TComComboBox* Combo3 = nullptr;
    TComComboBox* Combo4 = nullptr;
    TComComboBox* Combo5 = nullptr;
    TComComboBox* Combo6 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
};

// Shows the dialog for port; on OK applies every box that has a selection inside one update bracket (the
// port name first, so a changed name reopens an open port before the line settings go out once). An
// exception from the port ends the run and reaches the caller after the bracket is closed and the
// dialog freed.
void RunComSetupDialog(TCustomComPort* port);
