// The About window: the program's name and contact lines.
#pragma once

#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/framework/StdCtrls.h"

class TForm1 : public TForm {
    DECLARE_CLASS(TForm1, TForm)

public:
    using TForm::TForm;

    TShape* Picture = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
};

extern TForm1* Form1;
