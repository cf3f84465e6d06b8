// The Setup window: owner of the serial port to the master module, whose settings it loads when it is
// created and stores when it closes.
#pragma once

#include "platform/framework/Forms.h"
#include "serial/CPort.h"

// Where ComPort1 keeps its settings (the store reads "Vendrel" as the root key word, so they land in
// HKEY_CURRENT_USER\Comport\ComPort1).
inline const String kComportSettingsPath = u"Vendrel\\Comport";

class TForm2 : public TForm {
    DECLARE_CLASS(TForm2, TForm)

public:
    using TForm::TForm;

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void VirtualPortClick(TObject* Sender);
    void StoreClick(TObject* Sender);
    void VrShadowButton1Click(TObject* Sender);
    void ComPort1RxChar(TObject* Sender, Integer Count);

    TGraphicControl* VirtualPort = nullptr;     // a TVrShadowButton
    TGraphicControl* VrShadowButton1 = nullptr; // a TVrShadowButton
    TGraphicControl* Store = nullptr;           // a TVrShadowButton
    TComPort* ComPort1 = nullptr;
};

extern TForm2* Form2;
