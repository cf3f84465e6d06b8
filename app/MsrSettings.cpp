// The measure settings window.
#include "app/MsrSettings.h"

#include "app/Main.h"
#include "app/ModSettings.h"
#include "app/RegHelpers.h"
#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"

TMsrSetings* MsrSetings = nullptr;

DEFINE_CLASS(TMsrSetings, METHOD(FormCreate), METHOD(AcDcV1Click), METHOD(AcDcV2Click), METHOD(AcDcV3Click),
             METHOD(AcDcA1Click), METHOD(AcDcA2Click), METHOD(AcDcA3Click), METHOD(AcDcA4Click),
             METHOD(RenameClick), METHOD(RenameSetClick), METHOD(MeasureSettingsClick), METHOD(V1RangeClick),
             FIELD(V1Range), FIELD(V2Range), FIELD(V3Range), FIELD(A1Range), FIELD(A2Range), FIELD(A3Range),
             FIELD(A4Range), FIELD(Temp1Range), FIELD(Temp2Range), FIELD(AcDcV1), FIELD(AcDcV2),
             FIELD(AcDcV3), FIELD(AcDcA1), FIELD(AcDcA2), FIELD(AcDcA3), FIELD(AcDcA4), FIELD(Rename),
             FIELD(Ren), FIELD(RenameSet), FIELD(MeasureSettings))

namespace {

const String kSettingsKey = u"Vendrel\\Settings";
const String kNamesKey = u"Vendrel\\Instrument names";

// The stored names of each channel, in channel order.
struct ChannelValues {
    const char16_t* name;
    const char16_t* range;
    const char16_t* acdc; // null for the temperatures
};
constexpr ChannelValues kChannels[kChannelCount] = {
    {u"Voltage 1 name", u"Volt 1 range", u"Volt 1 AC/DC"},
    {u"Voltage 2 name", u"Volt 2 range", u"Volt 2 AC/DC"},
    {u"Voltage 3 name", u"Volt 3 range", u"Volt 3 AC/DC"},
    {u"Ampere 1 name", u"Ampere 1 range", u"Ampere 1 AC/DC"},
    {u"Ampere 2 name", u"Ampere 2 range", u"Ampere 2 AC/DC"},
    {u"Ampere 3 name", u"Ampere 3 range", u"Ampere 3 AC/DC"},
    {u"Ampere 4 name", u"Ampere 4 range", u"Ampere 4 AC/DC"},
    {u"Temp 1 name", u"Temp 1 range", nullptr},
    {u"Temp 2 name", u"Temp 2 range", nullptr},
};

} // namespace

TAdvOfficeRadioGroup* TMsrSetings::RangeGroup(int k) const {
    TAdvOfficeRadioGroup* const groups[kChannelCount] = {V1Range, V2Range, V3Range,    A1Range,   A2Range,
                                                         A3Range, A4Range, Temp1Range, Temp2Range};
    return groups[k];
}

TAdvOfficeCheckBox* TMsrSetings::AcDcBox(int k) const {
    TAdvOfficeCheckBox* const boxes[kAcDcChannels] = {AcDcV1, AcDcV2, AcDcV3, AcDcA1, AcDcA2, AcDcA3, AcDcA4};
    return boxes[k];
}

void TMsrSetings::FormCreate(TObject*) {
    // Each value loads on its own (see LoadIntegerSetting): a fresh registry leaves the groups unpicked
    // and the boxes unticked without a message.
    for (int k = 0; k < kChannelCount; ++k) {
        Integer index = -1;
        if (LoadIntegerSetting(ReadSetting(kSettingsKey, kChannels[k].range), index))
            RangeGroup(k)->SetItemIndex(index);
    }
    for (int k = 0; k < kChannelCount; ++k)
        RangeGroup(k)->SetCaption(ReadSetting(kNamesKey, kChannels[k].name));
    Rename->Items()->BeginUpdate();
    Rename->Items()->Clear();
    for (int k = 0; k < kChannelCount; ++k)
        Rename->Items()->Add(RangeGroup(k)->Caption());
    Rename->Items()->EndUpdate();
    for (int k = 0; k < kAcDcChannels; ++k) {
        bool on = false;
        if (LoadBoolSetting(ReadSetting(kSettingsKey, kChannels[k].acdc), on))
            AcDcBox(k)->SetChecked(on);
        ShowAcDc(k);
    }
}

void TMsrSetings::ShowAcDc(int k) {
    AcDcBox(k)->SetCaption(AcDcBox(k)->Checked() ? u"AC" : u"DC");
}

void TMsrSetings::AcDcV1Click(TObject*) {
    ShowAcDc(0);
}
void TMsrSetings::AcDcV2Click(TObject*) {
    ShowAcDc(1);
}
void TMsrSetings::AcDcV3Click(TObject*) {
    ShowAcDc(2);
}
void TMsrSetings::AcDcA1Click(TObject*) {
    ShowAcDc(3);
}
void TMsrSetings::AcDcA2Click(TObject*) {
    ShowAcDc(4);
}
void TMsrSetings::AcDcA3Click(TObject*) {
    ShowAcDc(5);
}
void TMsrSetings::AcDcA4Click(TObject*) {
    ShowAcDc(6);
}

void TMsrSetings::RenameClick(TObject*) {
    const Integer k = Rename->ItemIndex();
    if (k >= 0 && k < Rename->Items()->Count())
        Ren->SetText(Rename->Items()->Strings(k));
}

void TMsrSetings::RenameSetClick(TObject*) {
    const Integer k = Rename->ItemIndex();
    if (k < 0 || k >= kChannelCount)
        return;
    const String text = Ren->Text();
    WriteSetting(kNamesKey, kChannels[k].name, text);
    TStringList* headers = Main->Log->ColumnHeaders();
    if (k + 2 < headers->Count())
        headers->SetStrings(k + 2, text);
    Rename->Items()->SetStrings(k, text);
    RangeGroup(k)->SetCaption(text);
    if (k < kAcDcChannels) {
        TLabel* const labels[kAcDcChannels] = {Main->V1AcDc, Main->V2AcDc, Main->V3AcDc, Main->A1AcDc,
                                               Main->A2AcDc, Main->A3AcDc, Main->A4AcDc};
        const String kind = AcDcBox(k)->Checked() ? u"AC" : u"DC";
        labels[k]->SetCaption(kind);
        AcDcBox(k)->SetCaption(kind);
    }
}

void TMsrSetings::MeasureSettingsClick(TObject*) {
    WriteSetting(kSettingsKey, u"Rename", IntToStr(Rename->ItemIndex()));
    for (int k = 0; k < kChannelCount; ++k)
        WriteSetting(kSettingsKey, kChannels[k].range, IntToStr(RangeGroup(k)->ItemIndex()));
    for (int k = 0; k < kAcDcChannels; ++k)
        WriteSetting(kSettingsKey, kChannels[k].acdc, AcDcBox(k)->Checked() ? u"-1" : u"0");
    for (int k = 0; k < kChannelCount; ++k)
        WriteSetting(kNamesKey, kChannels[k].name, RangeGroup(k)->Caption());
    Rename->SetItemIndex(-1);
    Close();
}

// Bound in the window's description; picking a range needs no action until the save.
void TMsrSetings::V1RangeClick(TObject*) {}
