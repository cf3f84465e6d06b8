// The pop-up texts of cells: the application hint the platform asks for (comments, the cell's text, a
// text too large for its cell) and the balloon tip's text, which the tooltip window asks its parent, the
// grid, for through WM_NOTIFY.
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/rtl/DateTime.h"
#include "platform/win32/commctrl.h"
#include "render/AsgHTMLE.h"

namespace {

// The tooltip window takes at most this much text, and its title this much.
constexpr size_t BalloonTextLimit = 2048;
constexpr size_t BalloonTextKept = 2045;
constexpr size_t BalloonTitleLimit = 100;
constexpr size_t BalloonTitleKept = 97;

} // namespace

// ---- The application hint

void TAdvStringGrid::CMHintShow(TMessage& Message) {
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    if (info != nullptr)
        PrepareCellHint(info->HintStr, *info);
    Message.Result = 0;
}

void TAdvStringGrid::PrepareCellHint(String& HintStr, THintInfo& HintInfo) {
    Integer col = -1;
    Integer row = -1;
    MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, col, row);
    // FIXME: the control look keeps no hint width yet, so the platform's width limit stays; and the
    // mini-HTML hint window does not take the grid's font name, having no font of its own yet.

    if (col >= 0 && row >= 0) {
        const TPoint base = BaseCell(col, row);
        col = base.X;
        row = base.Y;
        FLastHintPos = TPoint(col, row);
        const TRect R = CellRect(col, row);
        const Integer realCol = RealColIndex(col);
        String comment;
        TPoint hintPos;
        if (IsComment(realCol, row, comment)) {
            HintStr = comment;
            hintPos = TPoint(R.Right, R.Top);
        } else {
            hintPos = TPoint(HintInfo.CursorPos.X, R.Bottom + 6);
        }
        const String text = Cells(realCol, row);
        const Integer kind = CellTextKind(text, FEnableHTML);
        if (FAnchorHint && kind == CellKindHTML) {
            String title;
            Integer link = -1;
            String controlID;
            String controlType;
            String controlValue;
            TRect controlRect;
            const String anchor = HTMLAnchorAt(col, row, HintInfo.CursorPos.X, HintInfo.CursorPos.Y, title,
                                               link, controlID, controlType, controlValue, controlRect);
            if (!anchor.empty()) {
                String shown = title.empty() ? anchor : title;
                if (OnAnchorHint)
                    OnAnchorHint(this, row, realCol, shown);
                FLastAnchorHint = shown;
                HintStr = shown;
                hintPos = TPoint(HintInfo.CursorPos.X + 8, HintInfo.CursorPos.Y - 16);
            }
        }
        const bool normal = col >= FixedCols() && col < ColCount() - FFixedRightCols && row >= FixedRows() &&
                            row < RowCount() - FFixedFooters;
        if (FHintShowCells && normal) {
            hintPos.Y = R.Top;
            if (kind == 5)
                HintStr = DecodeWideText(text);
            else
                HintStr = FHTMLHint ? text : GetStrippedCell(realCol, row);
        }

        if (FHintShowLargeText) {
            const bool enhanced = FEnhTextSize;
            FEnhTextSize = false;
            const TSize size = GetCellTextSize(realCol, row, false, false);
            FEnhTextSize = enhanced;
            if (size.cx > R.Width() || size.cy > R.Height()) {
                if (FHintShowLargeTextPos == hpCell)
                    hintPos = TPoint(R.Left, R.Top);
                if (kind == 5 || FHTMLHint || kind != 1)
                    HintStr = text;
                else
                    HintStr = GetStrippedCell(realCol, row);
            }
        }

        if (!(FFloatingFooter->Visible() && row == RowCount() - 1)) {
            String wide;
            DoGridHint(col, row, HintStr, wide);
        }
        // FIXME: mini-HTML and wide-encoded hints should show in the grid's own hint window, which is
        // not built yet; they show as the platform's plain hint.
        HintInfo.HintPos = ClientToScreen(hintPos);
    }
    HintInfo.HintColor = FHintColor;
}

// ---- The balloon tip and other notifications

void TAdvStringGrid::WMNotify(TMessage& Message) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    if (header == nullptr) {
        TBaseGrid::WMNotify(Message);
        return;
    }
    const UINT code = header->code;
    if (code == DTN_DATETIMECHANGE) {
        if (OnDateTimeChange) {
            const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(Message.LParam);
            const SYSTEMTIME& st = change->st;
            TDateTime value = 0;
            if (st.wYear != 0 && st.wMonth != 0 && st.wDay != 0) {
                TDateTime date = 0;
                TDateTime time = 0;
                if (TryEncodeDate(st.wYear, st.wMonth, st.wDay, date) &&
                    TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time))
                    value = date + time;
            }
            OnDateTimeChange(this, Col(), Row(), value);
        }
        TBaseGrid::WMNotify(Message);
        return;
    }
    if (code == TTN_SHOW || code == TTN_POP)
        return;
    if (code != TTN_GETDISPINFOW) {
        TBaseGrid::WMNotify(Message);
        return;
    }
    if (!FBalloonSettings->Enable())
        return;

    POINT cursor{};
    GetCursorPos(&cursor);
    const TPoint pos = ScreenToClient(TPoint(cursor.x, cursor.y));
    Integer col = -1;
    Integer row = -1;
    MouseToCell(pos.X, pos.Y, col, row);
    const bool valid = col >= 0 && row >= 0;
    String text;
    Integer realCol = -1;
    if (valid) {
        const TPoint base = BaseCell(col, row);
        col = base.X;
        row = base.Y;
        realCol = RealColIndex(col);
        text = Cells(realCol, row);
        switch (CellTextKind(text, FEnableHTML)) {
        case 1:
            text = MiniHTMLToPlainText(text);
            break;
        case 2: {
            TRichEdit* rich = GetRichEdit();
            CellToRich(realCol, row, rich);
            text = rich->Text();
            break;
        }
        case 5:
            text = DecodeWideText(text);
            break;
        default:
            break;
        }
    }
    std::replace(text.begin(), text.end(), u'\t', u' ');
    const size_t length = text.size();
    const size_t lineBreaks = text.find_first_not_of(u"\r\n");
    text.erase(0, lineBreaks == String::npos ? text.size() : lineBreaks);
    if (length > BalloonTextLimit)
        text = text.substr(0, BalloonTextKept) + u"...";

    String title = u" ";
    Integer icon = 1;
    if (valid) {
        String balloonTitle;
        String balloonText;
        TBalloonIcon balloonIcon = biNone;
        if (IsBalloon(realCol, row, balloonTitle, balloonText, balloonIcon)) {
            title = balloonTitle;
            text = balloonText;
            icon = static_cast<Integer>(balloonIcon);
        }
    }
    if (OnCellBalloon)
        OnCellBalloon(this, realCol, row, title, text, icon);
    FLastBalloonPos = TPoint(col, row);

    // The buffer holds what the tooltip window reads after the notification returns.
    const size_t copied = std::min(text.size(), std::size(FToolTipBuffer) - 1);
    std::copy_n(text.data(), copied, FToolTipBuffer);
    FToolTipBuffer[copied] = 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(Message.LParam);
    info->lpszText = reinterpret_cast<LPWSTR>(FToolTipBuffer);
    if (title.size() > BalloonTitleLimit)
        title = title.substr(0, BalloonTitleKept) + u"...";

    if (FHToolTip != nullptr) {
        SendMessageW(FHToolTip, TTM_SETMAXTIPWIDTH, 0, 300);
        if (FBalloonSettings->TextColor() != clNone)
            SendMessageW(FHToolTip, TTM_SETTIPTEXTCOLOR, ColorToRGB(FBalloonSettings->TextColor()), 0);
        if (FBalloonSettings->BackgroundColor() != clNone)
            SendMessageW(FHToolTip, TTM_SETTIPBKCOLOR, ColorToRGB(FBalloonSettings->BackgroundColor()), 0);
        SendMessageW(FHToolTip, TTM_SETTITLEW, static_cast<WPARAM>(icon),
                     reinterpret_cast<LPARAM>(title.c_str()));
    }
}
