// The LISTBOX window class and the ComboLBox class of a combo box's list: items with data, single, multiple
// and extended selection, owner-drawn items of fixed and variable height, tab stops, and the LB_* messages
// and LBN_* notifications of Win32.
//
// Contents: the state object - items - selection - layout and scrolling - keyboard and mouse - painting -
// the window procedure.
#include <algorithm>
#include <vector>

#include "platform/backend/file.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/winerror.h"

namespace win32::controls {

namespace {

Trace::Channel TraceListBox("listbox");

struct Item {
    String text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = 0; // owner-draw variable items only
};

enum class Notify { Yes, No };

class ListBoxState {
public:
    ListBoxState(HWND hwnd, const CREATESTRUCTW& create, bool comboList);

    LRESULT WMCreate();
    LRESULT WMSetFont(HFONT font, bool redraw);
    LRESULT WMGetFont() const { return reinterpret_cast<LRESULT>(FFont); }
    LRESULT WMSize();
    LRESULT WMSetFocus();
    LRESULT WMKillFocus();
    LRESULT WMGetDlgCode() const { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    LRESULT WMKeyDown(int key);
    LRESULT WMChar(Char c);
    LRESULT WMLButtonDown(WPARAM keys, POINT point);
    LRESULT WMLButtonDblClk(POINT point);
    LRESULT WMMouseMove(WPARAM keys, POINT point);
    LRESULT WMLButtonUp(POINT point);
    LRESULT WMCaptureChanged();
    LRESULT WMVScroll(WORD code, int pos);
    LRESULT WMHScroll(WORD code, int pos);
    LRESULT WMMouseWheel(short delta);
    LRESULT WMMouseActivate() const;
    // Paints into given (a WM_PAINT or WM_PRINTCLIENT that carries a DC) or, without one, the update region.
    LRESULT WMPaint(HDC given);
    void WMDestroy();

    LRESULT LBAddString(const Char* text, ULONG_PTR data);
    LRESULT LBInsertString(int index, const Char* text, ULONG_PTR data);
    LRESULT LBDeleteString(int index);
    LRESULT LBResetContent();
    LRESULT LBGetCount() const { return Count(); }
    LRESULT LBGetText(int index, LPWSTR buffer) const;
    LRESULT LBGetTextLen(int index) const;
    LRESULT LBSetCurSel(int index);
    LRESULT LBGetCurSel() const;
    LRESULT LBSetSel(bool select, int index);
    LRESULT LBGetSel(int index) const;
    LRESULT LBGetSelCount() const;
    LRESULT LBGetSelItems(int max, int* items) const;
    LRESULT LBSelItemRange(bool select, int first, int last);
    LRESULT LBGetTopIndex() const { return FTop; }
    LRESULT LBSetTopIndex(int index);
    LRESULT LBGetItemRect(int index, RECT* rect) const;
    LRESULT LBGetItemData(int index) const;
    LRESULT LBSetItemData(int index, ULONG_PTR data);
    LRESULT LBSetItemHeight(int index, int height);
    LRESULT LBGetItemHeight(int index) const;
    LRESULT LBFindString(int start, const Char* text, bool exact) const;
    LRESULT LBSelectString(int start, const Char* text);
    LRESULT LBSetCaretIndex(int index);
    LRESULT LBGetCaretIndex() const { return FCaret; }
    LRESULT LBSetAnchorIndex(int index);
    LRESULT LBGetAnchorIndex() const { return FAnchor; }
    LRESULT LBItemFromPoint(POINT point) const;
    LRESULT LBSetTabStops(int count, const int* stops);
    LRESULT LBSetHorizontalExtent(int extent);
    LRESULT LBGetHorizontalExtent() const { return FHorizontalExtent; }
    LRESULT LBSetColumnWidth(int width);
    LRESULT LBDir(UINT attributes, const Char* spec);

    // What a combo box asks of its list.
    void SetComboTracking(bool tracking) { FComboTracking = tracking; }
    void SetNotifyWindow(HWND hwnd) { FNotify = hwnd; }

private:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    bool HasStrings() const {
        return !(FStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (FStyle & LBS_HASSTRINGS);
    }
    bool OwnerDraw() const { return (FStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
    bool Variable() const { return (FStyle & LBS_OWNERDRAWVARIABLE) != 0; }
    bool MultiSel() const { return (FStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
    bool Extended() const { return (FStyle & LBS_EXTENDEDSEL) != 0; }
    bool Notifies() const { return (FStyle & LBS_NOTIFY) != 0; }
    bool MultiColumn() const { return (FStyle & LBS_MULTICOLUMN) != 0; }
    int CtlId() const { return static_cast<int>(GetWindowLongPtrW(FHwnd, GWLP_ID)); }

    int InsertAt(int index, const Char* text, ULONG_PTR data);
    int SortedPosition(const Char* text, ULONG_PTR data) const;
    void SendNotify(WORD code) const;
    void Measure(int index);

    // Selection.
    void SelectSingle(int index);
    void SelectRange(int first, int last, bool select);
    void MoveCaret(int index, bool scroll = true);

    // Layout and scrolling: the one place that knows where each item is.
    int ItemHeight(int index) const {
        return Variable() && Valid(index) ? FItems[index].height : FItemHeight;
    }
    RECT ItemRect(int index) const;
    int ItemAt(POINT point, bool* outside) const;
    int VisibleCount() const;
    int MaxTop() const;
    // A multi-column list fills each column from top to bottom; the top index is the first item of
    // the leftmost column shown, so it is always a multiple of the rows.
    int Rows() const;
    int VisibleColumns() const;
    int MultiColumnTop(int index) const;
    void ScrollInto(int index);
    void UpdateScrollBar();
    void InvalidateItem(int index);

    // Painting.
    void PaintItem(HDC dc, int index, const RECT& rect, UINT action) const;
    void DrawTabbed(HDC dc, const String& text, RECT rect) const;

    HWND FHwnd;
    HWND FParent;
    HWND FNotify; // the window notifications go to: the parent, or the combo box a ComboLBox serves
    DWORD FStyle;
    bool FComboList;
    std::vector<Item> FItems;
    int FSelected = -1; // single selection
    int FCaret = 0;     // the focus item of a multiple selection; -1 with no items
    int FAnchor = -1;
    int FTop = 0;
    int FItemHeight = 16;
    HFONT FFont = nullptr;
    bool FFocused = false;
    bool FTracking = false;      // the left button is down and the mouse selects
    bool FComboTracking = false; // a dropped combo list follows the mouse without a button
    bool FDragSelect = true;     // what an extended drag does to the items it crosses
    std::vector<int> FTabStops;  // in dialog units (a quarter of the average character width)
    int FHorizontalExtent = 0;
    int FColumnWidth = 150; // multi-column lists only
};

ListBoxState::ListBoxState(HWND hwnd, const CREATESTRUCTW& create, bool comboList)
    : FHwnd(hwnd), FParent(create.hwndParent), FNotify(create.hwndParent),
      FStyle(static_cast<DWORD>(create.style)), FComboList(comboList) {
    if (comboList) {
        // A combo box's list hears the combo box: it is the owner of the popup or the parent of a simple
        // list.
        FNotify = create.hwndParent ? create.hwndParent : GetWindow(hwnd, GW_OWNER);
        FStyle |= LBS_NOTIFY;
    }
    if (FStyle & LBS_OWNERDRAWVARIABLE)
        FStyle &= ~LBS_OWNERDRAWFIXED;
    if (FStyle & LBS_EXTENDEDSEL)
        FStyle &= ~LBS_MULTIPLESEL;
    // Columns need one item height, so variable heights become fixed ones.
    if ((FStyle & LBS_MULTICOLUMN) && (FStyle & LBS_OWNERDRAWVARIABLE))
        FStyle = (FStyle & ~LBS_OWNERDRAWVARIABLE) | LBS_OWNERDRAWFIXED;
    FItemHeight = FontLineHeight(nullptr);
    FCaret = -1;
}

LRESULT ListBoxState::WMCreate() {
    FItemHeight = FontLineHeight(FFont);
    if (OwnerDraw() && !Variable()) {
        // A fixed owner-drawn list asks its parent for the item height once.
        MEASUREITEMSTRUCT mis{FComboList ? ODT_COMBOBOX : ODT_LISTBOX,
                              static_cast<UINT>(CtlId()),
                              0,
                              0,
                              static_cast<UINT>(FItemHeight),
                              0};
        SendMessageW(FNotify, WM_MEASUREITEM, static_cast<WPARAM>(CtlId()), reinterpret_cast<LPARAM>(&mis));
        if (mis.itemHeight > 0)
            FItemHeight = static_cast<int>(mis.itemHeight);
    }
    UpdateScrollBar();
    return 0;
}

LRESULT ListBoxState::WMSetFont(HFONT font, bool redraw) {
    FFont = font;
    if (!OwnerDraw())
        FItemHeight = std::max(1, FontLineHeight(font));
    UpdateScrollBar();
    if (redraw)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT ListBoxState::WMSize() {
    FTop = MultiColumn() ? MultiColumnTop(FTop) : std::min(FTop, MaxTop());
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

void ListBoxState::SendNotify(WORD code) const {
    if (!Notifies() && code != LBN_ERRSPACE)
        return;
    NotifyCommand(FHwnd, FNotify, code);
}

// ---- Items ----

int ListBoxState::SortedPosition(const Char* text, ULONG_PTR data) const {
    int low = 0, high = Count();
    while (low < high) {
        int mid = (low + high) / 2;
        int order;
        if (HasStrings()) {
            order = AnsiCompareText(FItems[mid].text, text);
        } else {
            // Owner-drawn items without strings are ordered by the parent.
            COMPAREITEMSTRUCT cis{FComboList ? ODT_COMBOBOX : ODT_LISTBOX,
                                  static_cast<UINT>(CtlId()),
                                  FHwnd,
                                  static_cast<UINT>(mid),
                                  FItems[mid].data,
                                  static_cast<UINT>(-1),
                                  data,
                                  0};
            order = static_cast<int>(SendMessageW(FNotify, WM_COMPAREITEM, static_cast<WPARAM>(CtlId()),
                                                  reinterpret_cast<LPARAM>(&cis)));
        }
        if (order <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

void ListBoxState::Measure(int index) {
    if (!Variable())
        return;
    MEASUREITEMSTRUCT mis{
        FComboList ? ODT_COMBOBOX : ODT_LISTBOX, static_cast<UINT>(CtlId()), static_cast<UINT>(index), 0,
        static_cast<UINT>(FItemHeight),          FItems[index].data};
    SendMessageW(FNotify, WM_MEASUREITEM, static_cast<WPARAM>(CtlId()), reinterpret_cast<LPARAM>(&mis));
    FItems[index].height = std::clamp(static_cast<int>(mis.itemHeight), 1, 255);
}

int ListBoxState::InsertAt(int index, const Char* text, ULONG_PTR data) {
    Item item;
    if (HasStrings())
        item.text = text ? String(text) : String();
    else
        item.data = data;
    FItems.insert(FItems.begin() + index, std::move(item));
    if (FSelected >= index)
        ++FSelected;
    if (MultiSel() && FCaret >= index)
        ++FCaret;
    if (FAnchor >= index)
        ++FAnchor;
    if (FCaret < 0 && MultiSel())
        FCaret = 0;
    Measure(index);
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return index;
}

LRESULT ListBoxState::LBAddString(const Char* text, ULONG_PTR data) {
    int index = (FStyle & LBS_SORT) ? SortedPosition(text, data) : Count();
    return InsertAt(index, text, data);
}

LRESULT ListBoxState::LBInsertString(int index, const Char* text, ULONG_PTR data) {
    if (index == -1)
        index = Count();
    if (index < 0 || index > Count())
        return LB_ERR;
    return InsertAt(index, text, data);
}

LRESULT ListBoxState::LBDeleteString(int index) {
    if (!Valid(index))
        return LB_ERR;
    // The parent frees what it attached to an owner-drawn item or to an item with data.
    if (OwnerDraw() || FItems[index].data) {
        DELETEITEMSTRUCT dis{FComboList ? ODT_COMBOBOX : ODT_LISTBOX, static_cast<UINT>(CtlId()),
                             static_cast<UINT>(index), FHwnd, FItems[index].data};
        SendMessageW(FNotify, WM_DELETEITEM, static_cast<WPARAM>(CtlId()), reinterpret_cast<LPARAM>(&dis));
    }
    FItems.erase(FItems.begin() + index);
    if (FSelected == index)
        FSelected = -1;
    else if (FSelected > index)
        --FSelected;
    if (FCaret >= Count())
        FCaret = Count() - 1;
    if (FAnchor >= Count())
        FAnchor = Count() - 1;
    FTop = std::clamp(FTop, 0, MaxTop());
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return Count();
}

LRESULT ListBoxState::LBResetContent() {
    while (!FItems.empty())
        LBDeleteString(Count() - 1);
    FSelected = -1;
    FCaret = -1;
    FAnchor = -1;
    FTop = 0;
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

void ListBoxState::WMDestroy() {
    // The parent hears of every item going away, as with LB_RESETCONTENT.
    while (!FItems.empty()) {
        int index = Count() - 1;
        if (OwnerDraw() || FItems[index].data) {
            DELETEITEMSTRUCT dis{FComboList ? ODT_COMBOBOX : ODT_LISTBOX, static_cast<UINT>(CtlId()),
                                 static_cast<UINT>(index), FHwnd, FItems[index].data};
            SendMessageW(FNotify, WM_DELETEITEM, static_cast<WPARAM>(CtlId()),
                         reinterpret_cast<LPARAM>(&dis));
        }
        FItems.pop_back();
    }
}

LRESULT ListBoxState::LBGetText(int index, LPWSTR buffer) const {
    if (!Valid(index) || !buffer)
        return LB_ERR;
    if (!HasStrings()) {
        // A list without strings hands out the item's data.
        *reinterpret_cast<ULONG_PTR*>(buffer) = FItems[index].data;
        return sizeof(ULONG_PTR);
    }
    const String& text = FItems[index].text;
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

LRESULT ListBoxState::LBGetTextLen(int index) const {
    if (!Valid(index))
        return LB_ERR;
    return HasStrings() ? static_cast<LRESULT>(FItems[index].text.size()) : sizeof(ULONG_PTR);
}

LRESULT ListBoxState::LBGetItemData(int index) const {
    if (!Valid(index))
        return LB_ERR;
    return static_cast<LRESULT>(FItems[index].data);
}

LRESULT ListBoxState::LBSetItemData(int index, ULONG_PTR data) {
    if (!Valid(index))
        return LB_ERR;
    FItems[index].data = data;
    return TRUE;
}

LRESULT ListBoxState::LBSetItemHeight(int index, int height) {
    if (height <= 0 || height > 255)
        return LB_ERR;
    if (Variable()) {
        if (!Valid(index))
            return LB_ERR;
        FItems[index].height = height;
    } else {
        FItemHeight = height;
    }
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return LB_OKAY;
}

LRESULT ListBoxState::LBGetItemHeight(int index) const {
    if (Variable()) {
        if (!Valid(index))
            return Count() == 0 ? FItemHeight : LB_ERR;
        return FItems[index].height;
    }
    return FItemHeight;
}

LRESULT ListBoxState::LBFindString(int start, const Char* text, bool exact) const {
    if (Count() == 0)
        return LB_ERR;
    String wanted = text ? String(text) : String();
    if (start < -1 || start >= Count())
        start = -1;
    // The search starts after start, wraps round and stops at start; case does not matter.
    for (int n = 0; n < Count(); ++n) {
        int i = (start + 1 + n) % Count();
        if (HasStrings()) {
            const String& item = FItems[i].text;
            if (exact ? AnsiCompareText(item, wanted) == 0
                      : item.size() >= wanted.size() &&
                            AnsiCompareText(StringView(item).substr(0, wanted.size()), wanted) == 0)
                return i;
        } else if (FItems[i].data == reinterpret_cast<ULONG_PTR>(text)) {
            return i;
        }
    }
    return LB_ERR;
}

LRESULT ListBoxState::LBSelectString(int start, const Char* text) {
    LRESULT found = LBFindString(start, text, false);
    if (found == LB_ERR)
        return LB_ERR;
    if (MultiSel())
        return found;
    LBSetCurSel(static_cast<int>(found));
    return found;
}

// ---- Selection ----

void ListBoxState::SelectSingle(int index) {
    if (index == FSelected)
        return;
    InvalidateItem(FSelected);
    FSelected = index;
    if (index >= 0)
        FCaret = index;
    InvalidateItem(FSelected);
}

void ListBoxState::SelectRange(int first, int last, bool select) {
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    for (int i = first; i <= last; ++i) {
        if (FItems[i].selected != select) {
            FItems[i].selected = select;
            InvalidateItem(i);
        }
    }
}

void ListBoxState::MoveCaret(int index, bool scroll) {
    if (!Valid(index))
        return;
    InvalidateItem(FCaret);
    FCaret = index;
    InvalidateItem(FCaret);
    if (scroll)
        ScrollInto(index);
}

LRESULT ListBoxState::LBSetCurSel(int index) {
    if (MultiSel())
        return LB_ERR;
    // -1 clears the selection and still answers LB_ERR; an index out of range changes nothing.
    if (index == -1) {
        SelectSingle(-1);
        return LB_ERR;
    }
    if (!Valid(index))
        return LB_ERR;
    SelectSingle(index);
    ScrollInto(index);
    return index;
}

LRESULT ListBoxState::LBGetCurSel() const {
    if (MultiSel())
        return FCaret >= 0 ? FCaret : LB_ERR;
    return FSelected >= 0 ? FSelected : LB_ERR;
}

LRESULT ListBoxState::LBSetSel(bool select, int index) {
    if (!MultiSel())
        return LB_ERR;
    if (index == -1) {
        SelectRange(0, Count() - 1, select);
        return LB_OKAY;
    }
    if (!Valid(index))
        return LB_ERR;
    SelectRange(index, index, select);
    if (select) {
        FAnchor = index;
        MoveCaret(index);
    }
    return LB_OKAY;
}

LRESULT ListBoxState::LBGetSel(int index) const {
    if (!Valid(index))
        return LB_ERR;
    return MultiSel() ? (FItems[index].selected ? 1 : 0) : (index == FSelected ? 1 : 0);
}

LRESULT ListBoxState::LBGetSelCount() const {
    if (!MultiSel())
        return LB_ERR;
    return std::count_if(FItems.begin(), FItems.end(), [](const Item& item) { return item.selected; });
}

LRESULT ListBoxState::LBGetSelItems(int max, int* items) const {
    if (!MultiSel())
        return LB_ERR;
    int count = 0;
    for (int i = 0; i < Count() && count < max && items; ++i)
        if (FItems[i].selected)
            items[count++] = i;
    return count;
}

LRESULT ListBoxState::LBSelItemRange(bool select, int first, int last) {
    if (!MultiSel())
        return LB_ERR;
    SelectRange(first, last, select);
    return LB_OKAY;
}

LRESULT ListBoxState::LBSetCaretIndex(int index) {
    if (!Valid(index))
        return LB_ERR;
    MoveCaret(index);
    return LB_OKAY;
}

LRESULT ListBoxState::LBSetAnchorIndex(int index) {
    if (index != -1 && !Valid(index))
        return LB_ERR;
    FAnchor = index;
    return LB_OKAY;
}

// ---- Layout and scrolling ----

RECT ListBoxState::ItemRect(int index) const {
    RECT client{};
    GetClientRect(FHwnd, &client);
    if (MultiColumn()) {
        int rows = Rows();
        int offset = index - FTop;
        // Items left of the top one sit in columns to the left, so the column rounds down.
        int column = offset >= 0 ? offset / rows : -((-offset + rows - 1) / rows);
        int row = offset - column * rows;
        return RECT{column * FColumnWidth, row * FItemHeight, (column + 1) * FColumnWidth,
                    (row + 1) * FItemHeight};
    }
    int y = 0;
    if (!Variable())
        y = (index - FTop) * FItemHeight;
    else if (index >= FTop)
        for (int i = FTop; i < index; ++i)
            y += ItemHeight(i);
    else
        for (int i = index; i < FTop; ++i)
            y -= ItemHeight(i);
    return RECT{0, y, std::max<LONG>(client.right, FHorizontalExtent), y + ItemHeight(index)};
}

int ListBoxState::ItemAt(POINT point, bool* outside) const {
    RECT client{};
    GetClientRect(FHwnd, &client);
    bool out = !PtInRect(&client, point);
    if (MultiColumn()) {
        int rows = Rows();
        int column = point.x >= 0 ? point.x / FColumnWidth : -1;
        int row = std::clamp(point.y >= 0 ? static_cast<int>(point.y) / FItemHeight : 0, 0, rows - 1);
        if (point.y >= rows * FItemHeight || column < 0)
            out = true;
        int index = FTop + std::max(column, 0) * rows + row;
        if (index >= Count()) {
            index = Count() - 1;
            out = true;
        }
        if (outside)
            *outside = out;
        return index;
    }
    int index = FTop;
    int y = 0;
    if (point.y < 0) {
        index = std::max(0, FTop - 1);
        out = true;
    } else {
        while (index < Count() && y + ItemHeight(index) <= point.y) {
            y += ItemHeight(index);
            ++index;
        }
        if (index >= Count()) {
            index = Count() - 1;
            out = true;
        }
    }
    if (outside)
        *outside = out;
    return index;
}

int ListBoxState::Rows() const {
    RECT client{};
    GetClientRect(FHwnd, &client);
    return std::max(1, static_cast<int>(client.bottom) / std::max(1, FItemHeight));
}

int ListBoxState::VisibleColumns() const {
    RECT client{};
    GetClientRect(FHwnd, &client);
    return std::max(1, static_cast<int>(client.right) / std::max(1, FColumnWidth));
}

int ListBoxState::MultiColumnTop(int index) const {
    int rows = Rows();
    return std::clamp(index / rows * rows, 0, MaxTop());
}

int ListBoxState::VisibleCount() const {
    if (MultiColumn())
        return Rows() * VisibleColumns();
    RECT client{};
    GetClientRect(FHwnd, &client);
    int height = client.bottom;
    int count = 0;
    for (int i = FTop; i < Count() && height >= ItemHeight(i); ++i) {
        height -= ItemHeight(i);
        ++count;
    }
    if (!Variable() && FTop + count >= Count())
        count += height / std::max(1, FItemHeight);
    return std::max(1, count);
}

int ListBoxState::MaxTop() const {
    if (MultiColumn()) {
        int rows = Rows();
        int columns = (Count() + rows - 1) / rows;
        return std::max(0, columns - VisibleColumns()) * rows;
    }
    RECT client{};
    GetClientRect(FHwnd, &client);
    // The highest top index that still fills the window from the last item up.
    int height = client.bottom;
    int top = Count();
    while (top > 0 && height >= ItemHeight(top - 1)) {
        height -= ItemHeight(top - 1);
        --top;
    }
    return std::min(top, std::max(0, Count() - 1));
}

LRESULT ListBoxState::LBSetTopIndex(int index) {
    if (!Valid(index))
        return LB_ERR;
    FTop = MultiColumn() ? MultiColumnTop(index) : std::min(index, MaxTop());
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return LB_OKAY;
}

void ListBoxState::ScrollInto(int index) {
    if (!Valid(index))
        return;
    int top = FTop;
    if (MultiColumn()) {
        int rows = Rows();
        int column = index / rows;
        int first = FTop / rows;
        if (column < first)
            first = column;
        else if (column >= first + VisibleColumns())
            first = column - VisibleColumns() + 1;
        top = first * rows;
    } else if (index < top) {
        top = index;
    } else {
        // The lowest top that still shows the whole item, found from the item upwards: only what fits
        // in the window is looked at.
        RECT client{};
        GetClientRect(FHwnd, &client);
        int height = ItemHeight(index);
        int lowest = index;
        while (lowest > top && height + ItemHeight(lowest - 1) <= client.bottom) {
            height += ItemHeight(lowest - 1);
            --lowest;
        }
        top = std::max(top, lowest);
    }
    if (top != FTop) {
        FTop = top;
        UpdateScrollBar();
        InvalidateRect(FHwnd, nullptr, TRUE);
    }
}

void ListBoxState::UpdateScrollBar() {
    if (MultiColumn()) {
        // A multi-column list scrolls sideways, by columns.
        if (!(FStyle & WS_HSCROLL))
            return;
        int rows = Rows();
        int columns = (Count() + rows - 1) / rows;
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS,
                        0,
                        std::max(0, columns - 1),
                        static_cast<UINT>(VisibleColumns()),
                        FTop / rows,
                        0};
        if (FStyle & LBS_DISABLENOSCROLL)
            info.fMask |= SIF_DISABLENOSCROLL;
        SetScrollInfo(FHwnd, SB_HORZ, &info, TRUE);
        return;
    }
    if (!(FStyle & WS_VSCROLL))
        return;
    SCROLLINFO info{sizeof info,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, Count() - 1),
                    static_cast<UINT>(VisibleCount()),
                    FTop,
                    0};
    if (FStyle & LBS_DISABLENOSCROLL)
        info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(FHwnd, SB_VERT, &info, TRUE);
}

void ListBoxState::InvalidateItem(int index) {
    if (!Valid(index))
        return;
    RECT rect = ItemRect(index);
    InvalidateRect(FHwnd, &rect, TRUE);
}

LRESULT ListBoxState::LBGetItemRect(int index, RECT* rect) const {
    if (!rect || (index != 0 && !Valid(index)))
        return LB_ERR;
    *rect = ItemRect(index);
    return LB_OKAY;
}

LRESULT ListBoxState::LBItemFromPoint(POINT point) const {
    if (Count() == 0)
        return MAKELRESULT(0xFFFF, 1);
    bool outside = false;
    int index = ItemAt(point, &outside);
    return MAKELRESULT(static_cast<WORD>(index), outside ? 1 : 0);
}

LRESULT ListBoxState::LBSetTabStops(int count, const int* stops) {
    if (!(FStyle & LBS_USETABSTOPS))
        return FALSE;
    FTabStops.clear();
    if (count == 1 && stops)
        FTabStops.push_back(stops[0]);
    else if (count > 1 && stops)
        FTabStops.assign(stops, stops + count);
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT ListBoxState::LBSetHorizontalExtent(int extent) {
    FHorizontalExtent = std::max(0, extent);
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

// ---- Folder listing ----

namespace {

// '*' stands for any run of characters and '?' for one; names compare exactly, as the file system does.
bool MatchesPattern(StringView name, StringView pattern) {
    size_t n = 0, p = 0, starPattern = StringView::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != StringView::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool NameLess(const String& a, const String& b) {
    Integer byText = CompareText(a, b);
    return byText != 0 ? byText < 0 : a < b;
}

} // namespace

// This file system has no drives and no read-only, system or archive attributes: DDL_DRIVES adds
// nothing, and every file counts as one without attributes, except that a name starting with '.' is
// hidden. Folders come as "[name]" after the files; "." and ".." are not listed.
LRESULT ListBoxState::LBDir(UINT attributes, const Char* spec) {
    if (spec == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return LB_ERR;
    }
    String path(spec);
    size_t slash = path.rfind(u'/');
    String folder = slash == String::npos ? String(u".") : slash == 0 ? String(u"/") : path.substr(0, slash);
    String pattern = slash == String::npos ? path : path.substr(slash + 1);
    if (pattern.empty())
        pattern = u"*";
    std::vector<std::string> names;
    int error = 0;
    std::string folderUtf8 = StringToUtf8(folder);
    if (!backend::ListDirectory(folderUtf8, names, &error)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return LB_ERR;
    }
    bool exclusive = (attributes & DDL_EXCLUSIVE) != 0;
    std::vector<String> files;
    std::vector<String> folders;
    for (const std::string& raw : names) {
        String name = Utf8ToString(raw);
        if (name.empty() || name == u"." || name == u".." || !MatchesPattern(name, pattern))
            continue;
        bool hidden = name[0] == u'.';
        if (hidden && !(attributes & DDL_HIDDEN))
            continue;
        if (backend::DirectoryExists(folderUtf8 + "/" + raw)) {
            if (attributes & DDL_DIRECTORY)
                folders.push_back(u"[" + name + u"]");
            continue;
        }
        // With DDL_EXCLUSIVE a file is listed only for a kind that was asked for.
        if (exclusive && !hidden)
            continue;
        files.push_back(name);
    }
    std::sort(files.begin(), files.end(), NameLess);
    std::sort(folders.begin(), folders.end(), NameLess);
    files.insert(files.end(), folders.begin(), folders.end());
    // The answer is the index of the last name added; none added is no index.
    LRESULT last = LB_ERR;
    for (const String& name : files) {
        last = LBAddString(name.c_str(), 0);
        if (last == LB_ERRSPACE)
            return LB_ERRSPACE;
    }
    if (last == LB_ERR)
        SetLastError(ERROR_FILE_NOT_FOUND);
    return last;
}

LRESULT ListBoxState::LBSetColumnWidth(int width) {
    FColumnWidth = std::max(1, width);
    if (MultiColumn()) {
        FTop = MultiColumnTop(FTop);
        UpdateScrollBar();
        InvalidateRect(FHwnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT ListBoxState::WMHScroll(WORD code, int pos) {
    if (!MultiColumn())
        return 0;
    int rows = Rows();
    int column = FTop / rows;
    switch (code) {
    case SB_LINELEFT:
        --column;
        break;
    case SB_LINERIGHT:
        ++column;
        break;
    case SB_PAGELEFT:
        column -= VisibleColumns();
        break;
    case SB_PAGERIGHT:
        column += VisibleColumns();
        break;
    case SB_LEFT:
        column = 0;
        break;
    case SB_RIGHT:
        column = MaxTop() / rows;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        column = pos;
        break;
    default:
        return 0;
    }
    int top = std::clamp(column * rows, 0, MaxTop());
    if (top != FTop) {
        FTop = top;
        UpdateScrollBar();
        InvalidateRect(FHwnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT ListBoxState::WMVScroll(WORD code, int pos) {
    if (MultiColumn())
        return 0;
    int top = FTop;
    switch (code) {
    case SB_LINEUP:
        --top;
        break;
    case SB_LINEDOWN:
        ++top;
        break;
    case SB_PAGEUP:
        top -= VisibleCount();
        break;
    case SB_PAGEDOWN:
        top += VisibleCount();
        break;
    case SB_TOP:
        top = 0;
        break;
    case SB_BOTTOM:
        top = MaxTop();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        top = pos;
        break;
    default:
        return 0;
    }
    top = std::clamp(top, 0, MaxTop());
    if (top != FTop) {
        FTop = top;
        UpdateScrollBar();
        InvalidateRect(FHwnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT ListBoxState::WMMouseWheel(short delta) {
    int lines = -delta * static_cast<int>(std::max(1u, GetSystemSettings().wheelScrollLines)) / WHEEL_DELTA;
    // A multi-column list turns a notch into one column.
    if (MultiColumn())
        FTop = std::clamp(FTop + (lines > 0 ? Rows() : lines < 0 ? -Rows() : 0), 0, MaxTop());
    else
        FTop = std::clamp(FTop + lines, 0, MaxTop());
    UpdateScrollBar();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

// ---- Keyboard and mouse ----

LRESULT ListBoxState::WMSetFocus() {
    FFocused = true;
    if (FCaret < 0 && Count() > 0)
        FCaret = MultiSel() ? 0 : std::max(FSelected, 0);
    InvalidateItem(MultiSel() ? FCaret : (FSelected >= 0 ? FSelected : FCaret));
    SendNotify(LBN_SETFOCUS);
    return 0;
}

LRESULT ListBoxState::WMKillFocus() {
    FFocused = false;
    InvalidateRect(FHwnd, nullptr, TRUE);
    SendNotify(LBN_KILLFOCUS);
    return 0;
}

LRESULT ListBoxState::WMKeyDown(int key) {
    if (FStyle & LBS_WANTKEYBOARDINPUT) {
        // The parent may handle the key: -2 means done, -1 go on, else the item to go to.
        LRESULT answer = SendMessageW(FNotify, WM_VKEYTOITEM,
                                      MAKEWPARAM(static_cast<WORD>(key), static_cast<WORD>(FCaret)),
                                      reinterpret_cast<LPARAM>(FHwnd));
        if (answer == -2)
            return 0;
    }
    if (Count() == 0)
        return 0;
    int current = MultiSel() ? FCaret : (FSelected >= 0 ? FSelected : FCaret);
    int target = current;
    switch (key) {
    case VK_UP:
        target = current - 1;
        break;
    case VK_DOWN:
        target = current + 1;
        break;
    // Across columns: Left stops in the first column, Right goes to the last item.
    case VK_LEFT:
        if (!MultiColumn())
            return 0;
        target = current >= Rows() ? current - Rows() : current;
        break;
    case VK_RIGHT:
        if (!MultiColumn())
            return 0;
        target = current + Rows();
        break;
    case VK_PRIOR:
        target = current - std::max(1, VisibleCount() - 1);
        break;
    case VK_NEXT:
        target = current + std::max(1, VisibleCount() - 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = Count() - 1;
        break;
    case VK_SPACE:
        if (FStyle & LBS_MULTIPLESEL) {
            bool select = !FItems[FCaret].selected;
            SelectRange(FCaret, FCaret, select);
            SendNotify(LBN_SELCHANGE);
        }
        return 0;
    default:
        return 0;
    }
    target = std::clamp(target, 0, Count() - 1);
    if (current < 0)
        target = 0;
    if (FStyle & LBS_MULTIPLESEL) {
        MoveCaret(target);
        return 0;
    }
    if (Extended()) {
        bool shift = GetKeyState(VK_SHIFT) < 0;
        bool control = GetKeyState(VK_CONTROL) < 0;
        if (control && !shift) {
            MoveCaret(target);
            return 0;
        }
        if (!shift || FAnchor < 0)
            FAnchor = target;
        SelectRange(0, Count() - 1, false);
        SelectRange(FAnchor, target, true);
        MoveCaret(target);
        SendNotify(LBN_SELCHANGE);
        return 0;
    }
    if (target == FSelected)
        return 0;
    SelectSingle(target);
    ScrollInto(target);
    SendNotify(LBN_SELCHANGE);
    return 0;
}

LRESULT ListBoxState::WMChar(Char c) {
    if (FStyle & LBS_WANTKEYBOARDINPUT) {
        LRESULT answer = SendMessageW(FNotify, WM_CHARTOITEM, MAKEWPARAM(c, static_cast<WORD>(FCaret)),
                                      reinterpret_cast<LPARAM>(FHwnd));
        if (answer == -2)
            return 0;
    }
    if (c < 0x20 || !HasStrings() || Count() == 0)
        return 0;
    // A typed character goes to the next item that starts with it.
    Char prefix[2] = {c, 0};
    int current = MultiSel() ? FCaret : FSelected;
    LRESULT found = LBFindString(current, prefix, false);
    if (found == LB_ERR)
        return 0;
    int index = static_cast<int>(found);
    if (MultiSel()) {
        MoveCaret(index);
        if (Extended()) {
            SelectRange(0, Count() - 1, false);
            SelectRange(index, index, true);
            FAnchor = index;
            SendNotify(LBN_SELCHANGE);
        }
    } else if (index != FSelected) {
        SelectSingle(index);
        ScrollInto(index);
        SendNotify(LBN_SELCHANGE);
    }
    return 0;
}

LRESULT ListBoxState::WMLButtonDown(WPARAM keys, POINT point) {
    if (FComboList) {
        // A dropped combo list closes when the click is outside it; inside, the item is tracked.
        RECT client{};
        GetClientRect(FHwnd, &client);
        if (!PtInRect(&client, point)) {
            SendMessageW(FNotify, ComboListClosedOutside, 0, 0);
            return 0;
        }
        // The list of a simple combo box gives the focus to the combo box, which hands it to its edit.
        if ((GetWindowLongW(FHwnd, GWL_STYLE) & WS_CHILD) && GetFocus() != FNotify &&
            !IsChild(FNotify, GetFocus()))
            SetFocus(FNotify);
        FTracking = true;
        WMMouseMove(keys, point);
        return 0;
    }
    if (!FFocused && GetFocus() != FHwnd)
        SetFocus(FHwnd);
    if (Count() == 0)
        return 0;
    bool outside = false;
    int index = ItemAt(point, &outside);
    if (outside && point.y >= 0)
        return 0;
    if (FStyle & LBS_NOSEL)
        return 0;
    if (FStyle & LBS_MULTIPLESEL) {
        SelectRange(index, index, !FItems[index].selected);
        FAnchor = index;
        MoveCaret(index);
    } else if (Extended()) {
        if (keys & MK_SHIFT) {
            if (FAnchor < 0)
                FAnchor = index;
            if (!(keys & MK_CONTROL))
                SelectRange(0, Count() - 1, false);
            SelectRange(FAnchor, index, true);
        } else if (keys & MK_CONTROL) {
            FDragSelect = !FItems[index].selected;
            SelectRange(index, index, FDragSelect);
            FAnchor = index;
        } else {
            SelectRange(0, Count() - 1, false);
            SelectRange(index, index, true);
            FAnchor = index;
            FDragSelect = true;
        }
        MoveCaret(index);
    } else {
        SelectSingle(index);
    }
    FTracking = true;
    SetCapture(FHwnd);
    return 0;
}

LRESULT ListBoxState::WMMouseMove(WPARAM keys, POINT point) {
    if (FComboList && (FTracking || FComboTracking)) {
        RECT client{};
        GetClientRect(FHwnd, &client);
        if (PtInRect(&client, point) && Count() > 0) {
            int index = ItemAt(point, nullptr);
            SelectSingle(index);
        }
        return 0;
    }
    if (!FTracking || Count() == 0 || (FStyle & (LBS_NOSEL | LBS_MULTIPLESEL)))
        return 0;
    int index = ItemAt(point, nullptr);
    ScrollInto(index);
    if (Extended()) {
        if (FAnchor < 0)
            FAnchor = index;
        if (!(keys & MK_CONTROL))
            SelectRange(0, Count() - 1, false);
        SelectRange(FAnchor, index, FDragSelect);
        MoveCaret(index);
    } else {
        SelectSingle(index);
    }
    return 0;
}

LRESULT ListBoxState::WMLButtonUp(POINT point) {
    if (FComboList) {
        RECT client{};
        GetClientRect(FHwnd, &client);
        bool inside = PtInRect(&client, point) != FALSE;
        bool wasTracking = FTracking;
        FTracking = false;
        // The release of the press that opened the list is not a pick, unless it moved onto an item.
        if (inside && Count() > 0 && (wasTracking || FComboTracking)) {
            SelectSingle(ItemAt(point, nullptr));
            SendNotify(LBN_SELCHANGE);
        }
        return 0;
    }
    if (!FTracking)
        return 0;
    FTracking = false;
    if (GetCapture() == FHwnd)
        ReleaseCapture();
    // One notification for the whole click or drag.
    if (Count() > 0)
        SendNotify(LBN_SELCHANGE);
    return 0;
}

LRESULT ListBoxState::WMCaptureChanged() {
    if (!FComboList)
        FTracking = false;
    return 0;
}

LRESULT ListBoxState::WMLButtonDblClk(POINT point) {
    if (FComboList)
        return WMLButtonDown(0, point);
    WMLButtonDown(0, point);
    // The button is still down: the release ends the tracking and notifies the selection first.
    SendNotify(LBN_DBLCLK);
    return 0;
}

LRESULT ListBoxState::WMMouseActivate() const {
    // A combo box's popup list never takes the activation from the form.
    return FComboList ? MA_NOACTIVATE : DefWindowProcW(FHwnd, WM_MOUSEACTIVATE, 0, 0);
}

// ---- Painting ----

void ListBoxState::DrawTabbed(HDC dc, const String& text, RECT rect) const {
    if (!(FStyle & LBS_USETABSTOPS) || text.find(u'\t') == String::npos) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return;
    }
    // Tab stops are in dialog units, a quarter of the average character width; without any they fall
    // every 32 units.
    int unit = std::max(1, FontAverageWidth(FFont));
    int x = rect.left;
    size_t start = 0;
    int tab = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\t', start);
        String piece = text.substr(start, end == String::npos ? String::npos : end - start);
        RECT pieceRect{x, rect.top, rect.right, rect.bottom};
        DrawTextW(dc, piece.c_str(), static_cast<int>(piece.size()), &pieceRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (end == String::npos)
            break;
        SIZE size{};
        GetTextExtentPoint32W(dc, piece.c_str(), static_cast<int>(piece.size()), &size);
        int after = x + size.cx - rect.left;
        int stop;
        do {
            int units = FTabStops.empty()       ? 32 * (tab + 1)
                        : FTabStops.size() == 1 ? FTabStops[0] * (tab + 1)
                        : tab < static_cast<int>(FTabStops.size())
                            ? FTabStops[tab]
                            : FTabStops.back() + 32 * (tab - static_cast<int>(FTabStops.size()) + 1);
            stop = units * unit / 4;
            ++tab;
        } while (stop <= after);
        x = rect.left + stop;
        start = end + 1;
    }
}

void ListBoxState::PaintItem(HDC dc, int index, const RECT& rect, UINT action) const {
    bool selected = MultiSel() ? FItems[index].selected : index == FSelected;
    bool focusItem = FFocused && index == (MultiSel() ? FCaret : (FSelected >= 0 ? FSelected : FCaret));
    bool enabled = IsWindowEnabled(FHwnd) != FALSE;
    if (OwnerDraw()) {
        UINT state =
            (selected ? ODS_SELECTED : 0) | (focusItem ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        DRAWITEMSTRUCT dis{FComboList ? ODT_COMBOBOX : ODT_LISTBOX,
                           static_cast<UINT>(CtlId()),
                           static_cast<UINT>(index),
                           action,
                           state,
                           FHwnd,
                           dc,
                           rect,
                           FItems[index].data};
        SendMessageW(FNotify, WM_DRAWITEM, static_cast<WPARAM>(CtlId()), reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (selected) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    RECT textRect = rect;
    textRect.left += 2;
    DrawTabbed(dc, FItems[index].text, textRect);
    if (selected)
        SetTextColor(dc, enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT));
    if (focusItem && !FComboList)
        DrawFocusRect(dc, &rect);
}

LRESULT ListBoxState::WMPaint(HDC given) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(FHwnd, &ps);
    if (!dc)
        return 0;
    if (given)
        GetClipBox(dc, &ps.rcPaint);
    int saved = SaveDC(dc);
    HBRUSH background = ControlColor(FHwnd, FNotify, dc, WM_CTLCOLORLISTBOX);
    RECT client{};
    GetClientRect(FHwnd, &client);
    FillRect(dc, &client, background);
    SelectObject(dc, ControlFont(FFont));
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(FHwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    // Only the items in the window are painted.
    int y = 0;
    if (MultiColumn()) {
        int last = std::min(Count(), FTop + Rows() * (VisibleColumns() + 1));
        for (int i = FTop; i < last; ++i) {
            RECT rect = ItemRect(i);
            RECT visible{};
            if (IntersectRect(&visible, &rect, &ps.rcPaint))
                PaintItem(dc, i, rect, ODA_DRAWENTIRE);
        }
    }
    for (int i = FTop; !MultiColumn() && i < Count() && y < client.bottom; ++i) {
        RECT rect{0, y, std::max<LONG>(client.right, FHorizontalExtent), y + ItemHeight(i)};
        RECT visible{};
        if (IntersectRect(&visible, &rect, &ps.rcPaint))
            PaintItem(dc, i, rect, ODA_DRAWENTIRE);
        y = rect.bottom;
    }
    // An empty list still shows where the focus is.
    if (Count() == 0 && FFocused && !OwnerDraw() && !FComboList) {
        RECT rect{0, 0, client.right, FItemHeight};
        DrawFocusRect(dc, &rect);
    }
    RestoreDC(dc, saved);
    if (!given)
        EndPaint(FHwnd, &ps);
    return 0;
}

// ---- The window procedure ----

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool comboList) {
    ListBoxState* state = ControlState<ListBoxState>(hwnd, message, [&] {
        return new ListBoxState(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam), comboList);
    });
    if (!state)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto text = reinterpret_cast<const Char*>(lParam);
    switch (message) {
    case WM_CREATE:
        return state->WMCreate();
    case WM_DESTROY:
        state->WMDestroy();
        return 0;
    case WM_SETFONT:
        return state->WMSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT:
        return state->WMGetFont();
    case WM_SIZE:
        return state->WMSize();
    case WM_SETFOCUS:
        return state->WMSetFocus();
    case WM_KILLFOCUS:
        return state->WMKillFocus();
    case WM_GETDLGCODE:
        return state->WMGetDlgCode();
    case WM_KEYDOWN:
        return state->WMKeyDown(static_cast<int>(wParam));
    case WM_CHAR:
        return state->WMChar(static_cast<Char>(wParam));
    case WM_LBUTTONDOWN:
        return state->WMLButtonDown(wParam, PointOf(lParam));
    case WM_LBUTTONDBLCLK:
        return state->WMLButtonDblClk(PointOf(lParam));
    case WM_MOUSEMOVE:
        return state->WMMouseMove(wParam, PointOf(lParam));
    case WM_LBUTTONUP:
        return state->WMLButtonUp(PointOf(lParam));
    case WM_CAPTURECHANGED:
        return state->WMCaptureChanged();
    case WM_VSCROLL:
        return state->WMVScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    case WM_HSCROLL:
        return state->WMHScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    case WM_MOUSEWHEEL:
        return state->WMMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_MOUSEACTIVATE:
        return state->WMMouseActivate();
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return state->WMPaint(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT fills the background
    case LB_ADDSTRING:
        return state->LBAddString(text, static_cast<ULONG_PTR>(lParam));
    case LB_INSERTSTRING:
        return state->LBInsertString(static_cast<int>(wParam), text, static_cast<ULONG_PTR>(lParam));
    case LB_DELETESTRING:
        return state->LBDeleteString(static_cast<int>(wParam));
    case LB_RESETCONTENT:
        return state->LBResetContent();
    case LB_GETCOUNT:
        return state->LBGetCount();
    case LB_GETTEXT:
        return state->LBGetText(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN:
        return state->LBGetTextLen(static_cast<int>(wParam));
    case LB_SETCURSEL:
        return state->LBSetCurSel(static_cast<int>(wParam));
    case LB_GETCURSEL:
        return state->LBGetCurSel();
    case LB_SETSEL:
        return state->LBSetSel(wParam != 0, static_cast<int>(lParam));
    case LB_GETSEL:
        return state->LBGetSel(static_cast<int>(wParam));
    case LB_GETSELCOUNT:
        return state->LBGetSelCount();
    case LB_GETSELITEMS:
        return state->LBGetSelItems(static_cast<int>(wParam), reinterpret_cast<int*>(lParam));
    case LB_SELITEMRANGE:
        return state->LBSelItemRange(wParam != 0, LOWORD(static_cast<std::uintptr_t>(lParam)),
                                     HIWORD(static_cast<std::uintptr_t>(lParam)));
    case LB_SELITEMRANGEEX: {
        // A first index above the last deselects the range.
        int first = static_cast<int>(wParam), last = static_cast<int>(lParam);
        return first <= last ? state->LBSelItemRange(true, first, last)
                             : state->LBSelItemRange(false, last, first);
    }
    case LB_GETTOPINDEX:
        return state->LBGetTopIndex();
    case LB_SETTOPINDEX:
        return state->LBSetTopIndex(static_cast<int>(wParam));
    case LB_SETCOLUMNWIDTH:
        return state->LBSetColumnWidth(static_cast<int>(wParam));
    case LB_DIR:
        return state->LBDir(static_cast<UINT>(wParam), reinterpret_cast<const Char*>(lParam));
    case LB_GETITEMRECT:
        return state->LBGetItemRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
    case LB_GETITEMDATA:
        return state->LBGetItemData(static_cast<int>(wParam));
    case LB_SETITEMDATA:
        return state->LBSetItemData(static_cast<int>(wParam), static_cast<ULONG_PTR>(lParam));
    case LB_SETITEMHEIGHT:
        return state->LBSetItemHeight(static_cast<int>(wParam), static_cast<int>(LOWORD(lParam)));
    case LB_GETITEMHEIGHT:
        return state->LBGetItemHeight(static_cast<int>(wParam));
    case LB_FINDSTRING:
        return state->LBFindString(static_cast<int>(wParam), text, false);
    case LB_FINDSTRINGEXACT:
        return state->LBFindString(static_cast<int>(wParam), text, true);
    case LB_SELECTSTRING:
        return state->LBSelectString(static_cast<int>(wParam), text);
    case LB_SETCARETINDEX:
        return state->LBSetCaretIndex(static_cast<int>(wParam));
    case LB_GETCARETINDEX:
        return state->LBGetCaretIndex();
    case LB_SETANCHORINDEX:
        return state->LBSetAnchorIndex(static_cast<int>(wParam));
    case LB_GETANCHORINDEX:
        return state->LBGetAnchorIndex();
    case LB_ITEMFROMPOINT:
        return state->LBItemFromPoint(PointOf(lParam));
    case LB_SETTABSTOPS:
        return state->LBSetTabStops(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
    case LB_SETHORIZONTALEXTENT:
        return state->LBSetHorizontalExtent(static_cast<int>(wParam));
    case LB_GETHORIZONTALEXTENT:
        return state->LBGetHorizontalExtent();
    case LB_INITSTORAGE:
        return state->LBGetCount() + static_cast<LRESULT>(wParam);
    case ComboListTrack:
        state->SetComboTracking(wParam != 0);
        return 0;
    default:
        if (message >= LB_ADDSTRING && message <= 0x01B2)
            ZFIXME(TraceListBox, "%p: message 0x%04x not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT ListBoxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ListBoxProc(hwnd, message, wParam, lParam, false);
}

LRESULT ComboLBoxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ListBoxProc(hwnd, message, wParam, lParam, true);
}

} // namespace

void RegisterListBoxClass() {
    RegisterControlClass(ListBoxClassName, ListBoxWndProc, CS_DBLCLKS | CS_GLOBALCLASS);
    RegisterControlClass(ComboLBoxClassName, ComboLBoxWndProc, CS_DBLCLKS | CS_GLOBALCLASS | CS_SAVEBITS);
}

} // namespace win32::controls
