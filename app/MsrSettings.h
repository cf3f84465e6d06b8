// The measure settings window: range, AC or DC and display name of nine instrument channels.
#pragma once

#include "controls/AdvEdit.h"
#include "controls/AdvOfficeButtons.h"
#include "platform/framework/Forms.h"
#include "platform/framework/StdCtrls.h"

inline constexpr int kChannelCount = 9;
inline constexpr int kAcDcChannels = 7; // channels 0-6 have an AC/DC box

class TMsrSetings : public TForm {
    DECLARE_CLASS(TMsrSetings, TForm)

public:
    using TForm::TForm;

    void FormCreate(TObject* Sender);
    void AcDcV1Click(TObject* Sender);
    void AcDcV2Click(TObject* Sender);
    void AcDcV3Click(TObject* Sender);
    void AcDcA1Click(TObject* Sender);
    void AcDcA2Click(TObject* Sender);
    void AcDcA3Click(TObject* Sender);
    void AcDcA4Click(TObject* Sender);
    void RenameClick(TObject* Sender);
    void RenameSetClick(TObject* Sender);
    void MeasureSettingsClick(TObject* Sender);
    void V1RangeClick(TObject* Sender);

    // Channel k's (0-8) range group, and its AC/DC box (k 0-6).
    TAdvOfficeRadioGroup* RangeGroup(int k) const;
    TAdvOfficeCheckBox* AcDcBox(int k) const;

    TAdvOfficeRadioGroup* V1Range = nullptr;
    TAdvOfficeRadioGroup* V2Range = nullptr;
    TAdvOfficeRadioGroup* V3Range = nullptr;
    TAdvOfficeRadioGroup* A1Range = nullptr;
    TAdvOfficeRadioGroup* A2Range = nullptr;
    TAdvOfficeRadioGroup* A3Range = nullptr;
    TAdvOfficeRadioGroup* A4Range = nullptr;
    TAdvOfficeRadioGroup* Temp1Range = nullptr;
    TAdvOfficeRadioGroup* Temp2Range = nullptr;
    TAdvOfficeCheckBox* AcDcV1 = nullptr;
    TAdvOfficeCheckBox* AcDcV2 = nullptr;
    TAdvOfficeCheckBox* AcDcV3 = nullptr;
    TAdvOfficeCheckBox* AcDcA1 = nullptr;
    TAdvOfficeCheckBox* AcDcA2 = nullptr;
    TAdvOfficeCheckBox* AcDcA3 = nullptr;
    TAdvOfficeCheckBox* AcDcA4 = nullptr;
    TAdvOfficeRadioGroup* Rename = nullptr;
    TAdvEdit* Ren = nullptr;
    TButton* RenameSet = nullptr;
    TGraphicControl* MeasureSettings = nullptr; // a TVrShadowButton

private:
    void ShowAcDc(int k);
};

extern TMsrSetings* MsrSetings;
