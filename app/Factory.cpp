// The factory settings window.
#include "app/Factory.h"

#include "app/RegHelpers.h"
#include "platform/framework/Dialogs.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"

TFactorySettings* FactorySettings = nullptr;

DEFINE_CLASS(TFactorySettings, METHOD(FormCreate), METHOD(PaswordChange), METHOD(SaveCorrectionsClick),
             FIELD(Pasword), FIELD(SaveCorrections), FIELD(VoltagePanel), FIELD(CurrentPanel),
             FIELD(TempPanel), FIELD(SolarVcorr), FIELD(BatVcorr), FIELD(LoadVcorr), FIELD(SolarAcoor),
             FIELD(BatteryAcorr), FIELD(LoadAcorr), FIELD(RegCorr), FIELD(Temp1Corr), FIELD(Temp2Corr),
             FIELD(SolarVerr), FIELD(BatteryVerr), FIELD(LoadVerr), FIELD(SolarAerr), FIELD(RegAerr),
             FIELD(BatAerr), FIELD(LoadAerr), FIELD(SolarLive), FIELD(BatteryLive), FIELD(LoadLive),
             FIELD(RegLive), FIELD(Temp1Live), FIELD(Temp2Live))

namespace {

const String kCorrectionsKey = u"Vendrel\\Corrections";
const String kFactoryPassword = u"Tarn";

// Value names in the order of CorrectionEdits.
constexpr const char16_t* kCorrectionValues[kCorrectionCount] = {
    u"Solar volt correction",       u"Battery volt correction",   u"Load volt correction",
    u"Solar ampere correction",     u"Battery ampere correction", u"Load ampere correction",
    u"Regulator ampere correction", u"Temperature 1 correction",  u"Temperature 2 correction",
    u"Solar voltage error",         u"Battery voltage error",     u"Load voltage error",
    u"Solar ampere error",          u"Regulator ampere error",    u"Battery ampere error",
    u"Load ampere error",
};

} // namespace

std::array<TAdvEdit*, kCorrectionCount> TFactorySettings::CorrectionEdits() const {
    return {SolarVcorr, BatVcorr,  LoadVcorr,   SolarAcoor, BatteryAcorr, LoadAcorr, RegCorr, Temp1Corr,
            Temp2Corr,  SolarVerr, BatteryVerr, LoadVerr,   SolarAerr,    RegAerr,   BatAerr, LoadAerr};
}

void TFactorySettings::FormCreate(TObject*) {
    const auto edits = CorrectionEdits();
    for (int i = 0; i < kCorrectionCount; ++i)
        edits[i]->SetText(ReadSetting(kCorrectionsKey, kCorrectionValues[i]));
}

void TFactorySettings::PaswordChange(TObject*) {
    const String text = Pasword->Text();
    if (text == kFactoryPassword) {
        SetBounds((Screen()->Width() - 870) / 2, (Screen()->Height() - 575) / 2, 870, 575);
    } else if (text.size() > 10) {
        ShowMessage(u"Invalid password !");
    }
}

void TFactorySettings::SaveCorrectionsClick(TObject*) {
    const auto edits = CorrectionEdits();
    for (int i = 0; i < kCorrectionCount; ++i)
        WriteSetting(kCorrectionsKey, kCorrectionValues[i], edits[i]->Text());
    // The numbers are checked, not used: a text that is not one shows the conversion error once all
    // texts are stored.
    const TAdvEdit* const order[kCorrectionCount] = {
        SolarVcorr, BatVcorr,  LoadVcorr,   SolarAcoor, RegCorr,   BatteryAcorr, LoadAcorr, Temp1Corr,
        Temp2Corr,  SolarVerr, BatteryVerr, LoadVerr,   SolarAerr, RegAerr,      BatAerr,   LoadAerr};
    for (const TAdvEdit* edit : order)
        (void)StrToFloat(edit->Text());
}
