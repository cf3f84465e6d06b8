// Everything of the framework's SysUtils unit in one include, for code that uses much of it.
#pragma once

#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/UString.h"
