// The types of the grid's printing: what one run of the page engine does, and the print events.
#pragma once

#include <functional>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TypeInfo.h"

// What a run of the page engine does: draw pages for a preview or a printer, or only count them.
ZELMOR_ENUM(TPrintPassMode, pmPreview, pmPrint, pmCountPrint, pmCountPreview)

// The working state of one engine run, shared by the page engine and the cell drawing.
struct TPrintPassContext;

using TPrintStartEvent =
    std::function<void(TObject* Sender, Integer NrOfPages, Integer& FromPage, Integer& ToPage)>;
using TPrintPageEvent = std::function<void(TObject* Sender, TCanvas* Canvas, Integer PageNr,
                                           Integer PageXSize, Integer PageYSize)>;
using TPrintNewPageEvent = std::function<void(TObject* Sender, Integer ARow, bool& NewPage)>;
using TPrintPageDoneEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, Integer LastRow, Integer LastRowOffset,
                       Integer LastPage, Integer PageXSize, Integer PageYSize)>;
using TPrintCancelEvent = std::function<void(TObject* Sender, Integer PageNr, bool& Cancel)>;
using TPrintColumnWidthEvent = std::function<void(TObject* Sender, Integer ACol, Integer& Width)>;
using TPrintRowHeightEvent = std::function<void(TObject* Sender, Integer ARow, Integer& Height)>;
using TFitToPageEvent = std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)>;
using TPrintGetPageNumEvent =
    std::function<void(TObject* Sender, Integer PageNum, Integer PageColNum, String& PageNumString)>;
