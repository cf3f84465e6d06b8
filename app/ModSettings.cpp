// The modules data settings window.
#include "app/ModSettings.h"

#include "app/Main.h"
#include "app/RegHelpers.h"
#include "platform/framework/Application.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"

TModulesDataSet* ModulesDataSet = nullptr;

DEFINE_CLASS(TModulesDataSet, METHOD(FormCreate), METHOD(Mod1SaveClick), METHOD(Mod2SaveClick),
             METHOD(Mod3SaveClick), METHOD(Mod4SaveClick), METHOD(Mod5SaveClick), METHOD(FormCloseClick),
             FIELD(CloseButton), FIELD(Module1Settings), FIELD(Module2Settings), FIELD(Module3Settings),
             FIELD(Module4Settings), FIELD(Module5Settings), FIELD(Mod1Save), FIELD(Mod2Save),
             FIELD(Mod3Save), FIELD(Mod4Save), FIELD(Mod5Save), FIELD(Mod1bitSel), FIELD(Mod2bitSel),
             FIELD(Mod3bitSel), FIELD(Mod4bitSel), FIELD(Mod5bitSel), FIELD(Mod1Ref), FIELD(Mod2Ref),
             FIELD(Mod3Ref), FIELD(Mod4Ref), FIELD(Mod5Ref), FIELD(SensData1), FIELD(SensData2),
             FIELD(SensData3), FIELD(SensData4), FIELD(SensData5))

namespace {

const String kBitsKey = u"Quor RF controller\\Modules bits";
const String kRefsKey = u"Quor RF controller\\Modules refs";
const String kSensKey = u"Quor RF controller\\Modules sens or data";

String ModuleValue(int m, const String& what) {
    return u"Module " + IntToStr(m) + u" " + what;
}

} // namespace

bool LoadIntegerSetting(const String& text, Integer& value) {
    if (text.empty())
        return false;
    try {
        value = StrToInt(text);
        return true;
    } catch (const EConvertError& e) {
        Application->ShowException(e);
        return false;
    }
}

bool LoadBoolSetting(const String& text, bool& value) {
    if (text.empty())
        return false;
    try {
        value = StrToBool(text);
        return true;
    } catch (const EConvertError& e) {
        Application->ShowException(e);
        return false;
    }
}

TAdvOfficeRadioGroup* TModulesDataSet::BitSel(int m) const {
    TAdvOfficeRadioGroup* const groups[] = {Mod1bitSel, Mod2bitSel, Mod3bitSel, Mod4bitSel, Mod5bitSel};
    return groups[m - 1];
}

TAdvEdit* TModulesDataSet::Ref(int m) const {
    TAdvEdit* const edits[] = {Mod1Ref, Mod2Ref, Mod3Ref, Mod4Ref, Mod5Ref};
    return edits[m - 1];
}

TAdvOfficeCheckBox* TModulesDataSet::SensData(int m) const {
    TAdvOfficeCheckBox* const boxes[] = {SensData1, SensData2, SensData3, SensData4, SensData5};
    return boxes[m - 1];
}

void TModulesDataSet::FormCreate(TObject*) {
    for (int m = 1; m <= kModuleCount; ++m)
        BitSel(m)->SetCaption(Main->Module(m).panel->Caption()->Text());
    // Each value loads on its own: one that is missing or unreadable leaves its control at the default
    // and the rest still load, so that the next save does not write defaults over stored settings.
    for (int m = 1; m <= kModuleCount; ++m) {
        Integer index = -1;
        if (LoadIntegerSetting(ReadSetting(kBitsKey, ModuleValue(m, u"bits")), index))
            BitSel(m)->SetItemIndex(index);
    }
    for (int m = 1; m <= kModuleCount; ++m)
        Ref(m)->SetText(ReadSetting(kRefsKey, ModuleValue(m, u"ref")));
    for (int m = 1; m <= kModuleCount; ++m) {
        bool on = false;
        if (LoadBoolSetting(ReadSetting(kSensKey, ModuleValue(m, u"sens or data")), on))
            SensData(m)->SetChecked(on);
    }
}

void TModulesDataSet::SaveModule(int m) {
    WriteSetting(kBitsKey, ModuleValue(m, u"bits"), IntToStr(BitSel(m)->ItemIndex()));
    WriteSetting(kRefsKey, ModuleValue(m, u"ref"), Ref(m)->Text());
}

void TModulesDataSet::Mod1SaveClick(TObject*) {
    SaveModule(1);
}
void TModulesDataSet::Mod2SaveClick(TObject*) {
    SaveModule(2);
}
void TModulesDataSet::Mod3SaveClick(TObject*) {
    SaveModule(3);
}
void TModulesDataSet::Mod4SaveClick(TObject*) {
    SaveModule(4);
}
void TModulesDataSet::Mod5SaveClick(TObject*) {
    SaveModule(5);
}

void TModulesDataSet::FormCloseClick(TObject*) {
    for (int m = 1; m <= kModuleCount; ++m)
        WriteSetting(kSensKey, ModuleValue(m, u"sens or data"), SensData(m)->Checked() ? u"-1" : u"0");
    Close();
}
