// The framework's common controls in one include: status and progress bars, up-down, page and tab
// controls, track bars, the date-time picker and the month calendar.
#pragma once

#include "platform/framework/ComCtrlsBars.h"
#include "platform/framework/ComCtrlsDates.h"
#include "platform/framework/ComCtrlsTabs.h"
