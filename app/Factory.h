// The factory settings window: sixteen zero-point corrections and measurement errors, behind a password.
#pragma once

#include <array>

#include "controls/AdvEdit.h"
#include "controls/AdvPanel.h"
#include "platform/framework/Forms.h"

inline constexpr int kCorrectionCount = 16;

class TFactorySettings : public TForm {
    DECLARE_CLASS(TFactorySettings, TForm)

public:
    using TForm::TForm;

    void FormCreate(TObject* Sender);
    void PaswordChange(TObject* Sender);
    void SaveCorrectionsClick(TObject* Sender);

    // The correction edits in their read and write order.
    std::array<TAdvEdit*, kCorrectionCount> CorrectionEdits() const;

    TAdvEdit* Pasword = nullptr;
    TGraphicControl* SaveCorrections = nullptr; // a TVrShadowButton
    TAdvPanel* VoltagePanel = nullptr;
    TAdvPanel* CurrentPanel = nullptr;
    TAdvPanel* TempPanel = nullptr;
    TAdvEdit* SolarVcorr = nullptr;
    TAdvEdit* BatVcorr = nullptr;
    TAdvEdit* LoadVcorr = nullptr;
    TAdvEdit* SolarAcoor = nullptr;
    TAdvEdit* BatteryAcorr = nullptr;
    TAdvEdit* LoadAcorr = nullptr;
    TAdvEdit* RegCorr = nullptr;
    TAdvEdit* Temp1Corr = nullptr;
    TAdvEdit* Temp2Corr = nullptr;
    TAdvEdit* SolarVerr = nullptr;
    TAdvEdit* BatteryVerr = nullptr;
    TAdvEdit* LoadVerr = nullptr;
    TAdvEdit* SolarAerr = nullptr;
    TAdvEdit* RegAerr = nullptr;
    TAdvEdit* BatAerr = nullptr;
    TAdvEdit* LoadAerr = nullptr;
    TAdvEdit* SolarLive = nullptr;
    TAdvEdit* BatteryLive = nullptr;
    TAdvEdit* LoadLive = nullptr;
    TAdvEdit* RegLive = nullptr;
    TAdvEdit* Temp1Live = nullptr;
    TAdvEdit* Temp2Live = nullptr;
};

extern TFactorySettings* FactorySettings;
