// The framework's standard controls in one include: edits and memos, list and combo boxes, buttons,
// check boxes, radio buttons, group boxes, labels, static text and scroll bars.
#pragma once

#include "platform/framework/StdButtons.h"
#include "platform/framework/StdEdit.h"
#include "platform/framework/StdLists.h"
#include "platform/framework/StdScroll.h"
