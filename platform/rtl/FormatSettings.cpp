// The global format settings and the fixed settings tests start from.
#include "platform/rtl/FormatSettings.h"

TFormatSettings FormatSettings;

TFormatSettings DefaultFormatSettings() { return TFormatSettings(); }

void LoadLocaleFormatSettings() { FormatSettings = GetLocaleFormatSettings(); }
