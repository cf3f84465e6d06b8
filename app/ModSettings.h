// The modules data settings window: per module the converter resolution, the reference voltage and
// whether it sends sensor data, kept in the registry only.
#pragma once

#include "controls/AdvEdit.h"
#include "controls/AdvOfficeButtons.h"
#include "controls/AdvPanel.h"
#include "platform/framework/Forms.h"
#include "platform/framework/StdCtrls.h"

class TModulesDataSet : public TForm {
    DECLARE_CLASS(TModulesDataSet, TForm)

public:
    using TForm::TForm;

    void FormCreate(TObject* Sender);
    void Mod1SaveClick(TObject* Sender);
    void Mod2SaveClick(TObject* Sender);
    void Mod3SaveClick(TObject* Sender);
    void Mod4SaveClick(TObject* Sender);
    void Mod5SaveClick(TObject* Sender);
    void FormCloseClick(TObject* Sender);

    // Module m's (1-5) controls.
    TAdvOfficeRadioGroup* BitSel(int m) const;
    TAdvEdit* Ref(int m) const;
    TAdvOfficeCheckBox* SensData(int m) const;

    TButton* CloseButton = nullptr;
    TAdvPanel* Module1Settings = nullptr;
    TAdvPanel* Module2Settings = nullptr;
    TAdvPanel* Module3Settings = nullptr;
    TAdvPanel* Module4Settings = nullptr;
    TAdvPanel* Module5Settings = nullptr;
    TGraphicControl* Mod1Save = nullptr; // a TVrShadowButton
    TGraphicControl* Mod2Save = nullptr; // a TVrShadowButton
    TGraphicControl* Mod3Save = nullptr; // a TVrShadowButton
    TGraphicControl* Mod4Save = nullptr; // a TVrShadowButton
    TGraphicControl* Mod5Save = nullptr; // a TVrShadowButton
    TAdvOfficeRadioGroup* Mod1bitSel = nullptr;
    TAdvOfficeRadioGroup* Mod2bitSel = nullptr;
    TAdvOfficeRadioGroup* Mod3bitSel = nullptr;
    TAdvOfficeRadioGroup* Mod4bitSel = nullptr;
    TAdvOfficeRadioGroup* Mod5bitSel = nullptr;
    TAdvEdit* Mod1Ref = nullptr;
    TAdvEdit* Mod2Ref = nullptr;
    TAdvEdit* Mod3Ref = nullptr;
    TAdvEdit* Mod4Ref = nullptr;
    TAdvEdit* Mod5Ref = nullptr;
    TAdvOfficeCheckBox* SensData1 = nullptr;
    TAdvOfficeCheckBox* SensData2 = nullptr;
    TAdvOfficeCheckBox* SensData3 = nullptr;
    TAdvOfficeCheckBox* SensData4 = nullptr;
    TAdvOfficeCheckBox* SensData5 = nullptr;

private:
    void SaveModule(int m);
};

extern TModulesDataSet* ModulesDataSet;

// Loading a stored number or flag: a missing or empty value leaves the default without a word; a value
// that does not convert shows the framework's conversion message and the caller goes on with the next
// value. Both give false when nothing was loaded.
bool LoadIntegerSetting(const String& text, Integer& value);
bool LoadBoolSetting(const String& text, bool& value);
