// The console's only access to its settings: string values under HKEY_CURRENT_USER.
#pragma once

#include "platform/rtl/UString.h"

// The value valueName of HKEY_CURRENT_USER\key (the key is created when missing); empty text when the
// value does not exist. A key that cannot be opened or created shows "Error opening/creating key : "
// with the key and gives empty text.
String ReadSetting(const String& key, const String& valueName);
// Writes value as a string value, creating the key; a key that cannot be opened shows the same message
// and the value is lost.
void WriteSetting(const String& key, const String& valueName, const String& value);
