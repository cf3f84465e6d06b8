// The working state of one run of the grid's page engine, shared by the engine (AdvGridPrint.cpp) and the
// cell drawing (AdvGridPrintCell.cpp). Lengths are in 0.1 mm, y upward from the page's top edge at 0.
#pragma once

#include <cstdint>
#include <memory>

#include "grid/files/AdvGridPrintTypes.h"
#include "platform/framework/Graphics.h"

class TAdvStringGrid;

struct TPrintPassContext {
    TAdvStringGrid* grid = nullptr;
    TCanvas* canvas = nullptr;
    TPrintPassMode mode = pmCountPrint;
    Integer pageCount = -1; // passed in; -1 in a counting pass
    bool selectedOnly = false;
    Integer pageWidth = 0;
    Integer pageBottom = 0;     // negative
    double screenToPaper = 1.0; // a screen pixel in 0.1 mm
    double deviceRatio = 1.0;   // target resolution over the screen's, for the HTML renderer
    double fitScale = 1.0;
    Integer spacing = 0;       // added to every column width
    std::uint16_t lineGap = 0; // an eighth of the table font's line
    std::int16_t halfG = 0;    // half the width of "g" in the table font
    Integer headerTextHeight = 0;
    Integer footerTextHeight = 0;
    Integer tableFontSize = 0;
    Integer headerHeight = 0;
    Integer footerHeight = 0;
    Integer titleBlockHeight = 0; // of the HTML title block, in the header or footer height
    Integer pageIndex = 0;        // over the whole job, from 0
    Integer bandNumber = 0;       // from 1
    Integer bandPageIndex = 0;    // within the band, from 0
    bool multiBand = false;
    Integer startCol = 0;
    Integer endCol = 0;
    bool repeatFixedColsInBand = false;
    Integer fixedColsWidth = 0;
    Integer bandWidth = 0;
    Integer row = 0;
    Integer yPos = 0;
    Integer lastBreakRow = -1;
    bool stop = false; // OnPrintCancel asked to end the job
    Integer cachedRow = -1;
    Integer cachedHeight = 0;
    std::unique_ptr<TFont> workFont;
    std::unique_ptr<TFont> workFont2;
    std::unique_ptr<TPen> workPen;
    std::unique_ptr<TBrush> workBrush;
    std::unique_ptr<TBrush> workBrush2;

    bool Drawing() const { return mode == pmPreview || mode == pmPrint; }
};
