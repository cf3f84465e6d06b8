// Reading and writing the console's settings in the current user's registry.
#include "app/RegHelpers.h"

#include "platform/framework/Dialogs.h"
#include "platform/rtl/Registry.h"

namespace {

// Opens key under HKEY_CURRENT_USER (creating it) or tells the operator it could not.
bool OpenSettingsKey(TRegistry& registry, const String& key) {
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (registry.OpenKey(key, true))
        return true;
    ShowMessage(u"Error opening/creating key : " + key);
    return false;
}

} // namespace

String ReadSetting(const String& key, const String& valueName) {
    TRegistry registry;
    String result;
    if (OpenSettingsKey(registry, key)) {
        if (registry.ValueExists(valueName))
            result = registry.ReadString(valueName);
        registry.CloseKey();
    }
    return result;
}

void WriteSetting(const String& key, const String& valueName, const String& value) {
    TRegistry registry;
    if (OpenSettingsKey(registry, key)) {
        registry.WriteString(valueName, value);
        registry.CloseKey();
    }
}
