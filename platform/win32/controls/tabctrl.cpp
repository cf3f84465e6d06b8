// The tab control window class ("SysTabControl32"): a row (or rows) of tabs over a display area, set
// through the TCM_ messages, chosen by the mouse and the keyboard, scrolled by two arrows when a single
// line of tabs does not fit; the parent hears through WM_NOTIFY (TCN_SELCHANGING, which may refuse the
// change, TCN_SELCHANGE, TCN_KEYDOWN, NM_CLICK) and draws owner-drawn tabs on WM_DRAWITEM.
//
// A tab whose iImage is set shows that picture of the TCM_SETIMAGELIST list left of its text, and the tabs
// grow to hold it.
//
// FIXME: TCS_VERTICAL tabs are laid out along the top (or, with TCS_RIGHT, the bottom).
#include <algorithm>
#include <vector>

#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/imagelist.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceTab("tab");

constexpr int Margin = 2;   // between the control's edge and the first tab or row
constexpr int PaddingX = 6; // around a tab's text
constexpr int PaddingY = 3;
constexpr int ButtonGap = 3;    // between buttons with TCS_BUTTONS
constexpr int SelectedLift = 2; // the selected tab stands out by this much
constexpr int DisplayInset = 4; // from the pane's edge to the display area
constexpr int ArrowWidth = 16;  // each of the two scroll arrows
constexpr int DefaultFixedWidth = 96;
constexpr int ImageGap = 3; // between a tab's image and its text

struct TabItem {
    String text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
};

struct TabLayout {
    std::vector<RECT> items; // where each tab is, in client coordinates (off to the left when scrolled past)
    int rows = 1;
    int itemHeight = 0;
    int extent = 0;           // the height the rows of tabs take, margins included
    RECT pane{};              // the frame under (or over) the tabs
    RECT arrows{};            // both scroll arrows; empty when every tab fits
    int lastFirstVisible = 0; // the highest first tab the arrows can scroll to
};

class TabControl {
public:
    explicit TabControl(HWND hwnd) : FHwnd(hwnd) {}

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool Buttons() const { return (Style() & TCS_BUTTONS) != 0; }
    bool Bottom() const { return (Style() & TCS_BOTTOM) != 0; }
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }

    void WMCreate() { FTheme.Open(FHwnd); }
    void WMDestroy() { FTheme.Close(); }
    void WMThemeChanged() {
        FTheme.Open(FHwnd);
        Invalidate();
    }
    void WMSetFont(HFONT font, bool redraw) {
        FFont = font;
        if (redraw)
            Invalidate();
    }
    HFONT WMGetFont() const { return FFont; }

    LRESULT TCMInsertItem(int index, const TCITEMW* item) {
        if (!item || index < 0)
            return -1;
        index = std::min(index, Count());
        TabItem tab;
        SetFields(tab, *item);
        FItems.insert(FItems.begin() + index, tab);
        // The first tab of an empty control is selected; the others keep their selection.
        if (Count() == 1) {
            FSel = 0;
            FFocus = 0;
        } else {
            if (FSel >= index)
                ++FSel;
            if (FFocus >= index)
                ++FFocus;
        }
        Invalidate();
        return index;
    }

    LRESULT TCMDeleteItem(int index) {
        if (!Valid(index))
            return FALSE;
        FItems.erase(FItems.begin() + index);
        // Deleting the selected tab leaves none selected; the parent chooses the next one.
        if (FSel == index)
            FSel = -1;
        else if (FSel > index)
            --FSel;
        if (FFocus == index)
            FFocus = -1;
        else if (FFocus > index)
            --FFocus;
        FHot = -1;
        FFirstVisible = std::clamp(FFirstVisible, 0, std::max(Count() - 1, 0));
        Invalidate();
        return TRUE;
    }

    LRESULT TCMDeleteAllItems() {
        FItems.clear();
        FSel = FFocus = FHot = -1;
        FFirstVisible = 0;
        Invalidate();
        return TRUE;
    }

    LRESULT TCMGetItem(int index, TCITEMW* item) const {
        if (!item || !Valid(index))
            return FALSE;
        const TabItem& tab = FItems[static_cast<size_t>(index)];
        if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
            size_t length = std::min(tab.text.size(), static_cast<size_t>(item->cchTextMax - 1));
            std::copy_n(tab.text.data(), length, item->pszText);
            item->pszText[length] = u'\0';
        }
        if (item->mask & TCIF_IMAGE)
            item->iImage = tab.image;
        if (item->mask & TCIF_PARAM)
            item->lParam = tab.param;
        if (item->mask & TCIF_STATE)
            item->dwState = tab.state & item->dwStateMask;
        return TRUE;
    }

    LRESULT TCMSetItem(int index, const TCITEMW* item) {
        if (!item || !Valid(index))
            return FALSE;
        SetFields(FItems[static_cast<size_t>(index)], *item);
        Invalidate();
        return TRUE;
    }

    LRESULT TCMGetCurSel() const { return FSel; }

    // Chooses a tab without telling the parent; -1 leaves none selected.
    LRESULT TCMSetCurSel(int index) {
        if (index < -1 || index >= Count())
            return -1;
        int old = FSel;
        FSel = index;
        if (index >= 0) {
            FFocus = index;
            MakeVisible(index);
        }
        Invalidate();
        return old;
    }

    LRESULT TCMGetCurFocus() const { return FFocus; }

    // Buttons can have the focus apart from the selection; tabs cannot, so focusing one selects it,
    // with the notifications a click gives.
    void TCMSetCurFocus(int index) {
        if (!Valid(index))
            return;
        if (Buttons()) {
            FFocus = index;
            Invalidate();
            return;
        }
        SelectByUser(index);
    }

    LRESULT TCMGetItemRect(int index, RECT* rect) const {
        if (!rect || !Valid(index))
            return FALSE;
        *rect = Layout().items[static_cast<size_t>(index)];
        return TRUE;
    }

    // Between a window rectangle and the display area inside it (larger: the other way round).
    void TCMAdjustRect(bool larger, RECT* rect) const {
        if (!rect)
            return;
        TabLayout layout = Layout();
        int inset = Buttons() ? 0 : DisplayInset;
        int tabs = layout.extent + inset;
        int sign = larger ? -1 : 1;
        rect->left += sign * inset;
        rect->right -= sign * inset;
        if (Bottom()) {
            rect->top += sign * inset;
            rect->bottom -= sign * tabs;
        } else {
            rect->top += sign * tabs;
            rect->bottom -= sign * inset;
        }
    }

    LRESULT TCMHitTest(TCHITTESTINFO* info) const {
        if (!info)
            return -1;
        int index = ItemAt(Layout(), info->pt);
        info->flags = index >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
        return index;
    }

    LRESULT TCMSetItemSize(int width, int height) {
        LRESULT old = MAKELRESULT(static_cast<WORD>(FItemWidth), static_cast<WORD>(Layout().itemHeight));
        FItemWidth = std::max(width, 0);
        if (height > 0)
            FItemHeight = height;
        Invalidate();
        return old;
    }

    LRESULT TCMSetImageList(HIMAGELIST images) {
        HIMAGELIST old = FImages;
        FImages = images;
        Invalidate();
        return reinterpret_cast<LRESULT>(old);
    }
    LRESULT TCMGetImageList() const { return reinterpret_cast<LRESULT>(FImages); }
    LRESULT TCMGetRowCount() const { return Layout().rows; }

    void WMLButtonDown(POINT point) {
        TabLayout layout = Layout();
        if (!IsRectEmpty(&layout.arrows) && PtInRect(&layout.arrows, point)) {
            bool right = point.x >= layout.arrows.left + ArrowWidth;
            FFirstVisible = std::clamp(FFirstVisible + (right ? 1 : -1), 0, layout.lastFirstVisible);
            Invalidate();
            return;
        }
        int index = ItemAt(layout, point);
        if (index < 0)
            return;
        FPressed = true;
        if (!(Style() & TCS_FOCUSNEVER))
            SetFocus(FHwnd);
        SelectByUser(index);
    }

    void WMLButtonUp() {
        if (!FPressed)
            return;
        FPressed = false;
        ::NMHDR header{};
        Notify(NM_CLICK, header);
    }

    void WMMouseMove(POINT point) {
        if (!(Style() & TCS_HOTTRACK))
            return;
        int hot = ItemAt(Layout(), point);
        if (hot == FHot)
            return;
        FHot = hot;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHwnd, 0};
        TrackMouseEvent(&track);
        Invalidate();
    }

    void WMMouseLeave() {
        if (FHot < 0)
            return;
        FHot = -1;
        Invalidate();
    }

    void WMKeyDown(WPARAM key, LPARAM keyData) {
        NMTCKEYDOWN keyDown{};
        keyDown.wVKey = static_cast<WORD>(key);
        keyDown.flags = static_cast<UINT>(keyData);
        Notify(TCN_KEYDOWN, keyDown.hdr);
        if (!Count())
            return;
        int current = FFocus >= 0 ? FFocus : std::max(FSel, 0);
        switch (key) {
        case VK_LEFT:
            if (current > 0)
                TCMSetCurFocus(current - 1);
            break;
        case VK_RIGHT:
            if (current + 1 < Count())
                TCMSetCurFocus(current + 1);
            break;
        case VK_TAB:
            // Ctrl+Tab goes round the tabs, with Shift backwards.
            if (GetKeyState(VK_CONTROL) < 0) {
                int step = GetKeyState(VK_SHIFT) < 0 ? Count() - 1 : 1;
                SelectByUser((std::max(FSel, 0) + step) % Count());
            }
            break;
        case VK_SPACE:
        case VK_RETURN:
            if (Buttons() && Valid(FFocus))
                SelectByUser(FFocus);
            break;
        default:
            break;
        }
    }

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

    void WMSize() {
        FFirstVisible = std::clamp(FFirstVisible, 0, Layout().lastFirstVisible);
        Invalidate();
    }

private:
    static void SetFields(TabItem& tab, const TCITEMW& item) {
        if (item.mask & TCIF_TEXT)
            tab.text = item.pszText ? String(item.pszText) : String();
        if (item.mask & TCIF_IMAGE)
            tab.image = item.iImage;
        if (item.mask & TCIF_PARAM)
            tab.param = item.lParam;
        if (item.mask & TCIF_STATE)
            tab.state = (tab.state & ~item.dwStateMask) | (item.dwState & item.dwStateMask);
    }

    // The parent hears through one helper; no call site fills the header's sender by hand.
    LRESULT Notify(UINT code, ::NMHDR& header) {
        HWND parent = GetParent(FHwnd);
        if (!parent)
            return 0;
        header.hwndFrom = FHwnd;
        header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(FHwnd, GWLP_ID));
        header.code = code;
        return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }

    // A change the user asks for: the parent may refuse it in TCN_SELCHANGING.
    void SelectByUser(int index) {
        FFocus = index;
        if (index == FSel) {
            Invalidate();
            return;
        }
        ::NMHDR changing{};
        if (Notify(TCN_SELCHANGING, changing) != 0)
            return;
        FSel = index;
        MakeVisible(index);
        Invalidate();
        ::NMHDR change{};
        Notify(TCN_SELCHANGE, change);
    }

    // Scrolls a single line of tabs so that the tab shows whole.
    void MakeVisible(int index) {
        if (Style() & TCS_MULTILINE)
            return;
        if (index < FFirstVisible) {
            FFirstVisible = index;
            return;
        }
        while (FFirstVisible < index) {
            TabLayout layout = Layout();
            if (IsRectEmpty(&layout.arrows) ||
                layout.items[static_cast<size_t>(index)].right <= layout.arrows.left)
                break;
            ++FFirstVisible;
        }
    }

    int TextWidth(const String& text) const {
        HDC dc = GetDC(FHwnd);
        SIZE size{};
        {
            SelectGuard guard(dc, ControlFont(FFont));
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        }
        ReleaseDC(FHwnd, dc);
        return size.cx;
    }

    // The size of the list's pictures, or nothing without a list.
    SIZE ImageSize() const {
        int cx = 0;
        int cy = 0;
        if (!FImages || !ImageList_GetIconSize(FImages, &cx, &cy))
            return SIZE{0, 0};
        return SIZE{cx, cy};
    }

    // A tab makes room for a picture whenever it names one and there is a list, so that tabs keep their
    // size while the list is still being filled.
    bool HasImage(const TabItem& tab) const { return tab.image >= 0 && ImageSize().cx > 0; }

    int ItemWidth(const TabItem& tab) const {
        if (Style() & TCS_FIXEDWIDTH)
            return FItemWidth > 0 ? FItemWidth : DefaultFixedWidth;
        int width = TextWidth(tab.text) + 2 * PaddingX;
        if (HasImage(tab))
            width += ImageSize().cx + (tab.text.empty() ? 0 : ImageGap);
        return width;
    }

    // One function places every tab, the pane and the arrows; painting, hit testing, TCM_GETITEMRECT
    // and TCM_ADJUSTRECT all use it.
    TabLayout Layout() const {
        TabLayout layout;
        DWORD style = Style();
        RECT client;
        GetClientRect(FHwnd, &client);
        bool buttons = Buttons();
        int gap = buttons ? ButtonGap : 0;
        layout.itemHeight = FItemHeight > 0
                                ? FItemHeight
                                : std::max<int>(FontLineHeight(FFont), ImageSize().cy) + 2 * PaddingY + 1;
        const int height = layout.itemHeight;
        const int right = client.right - Margin;
        layout.items.resize(FItems.size());
        std::vector<int> widths;
        for (const TabItem& tab : FItems)
            widths.push_back(ItemWidth(tab));

        // Rows from the one next to the pane outwards; each holds a run of tabs.
        std::vector<std::pair<int, int>> rows; // first tab and one past the last
        bool multiLine = (style & TCS_MULTILINE) != 0;
        int x = Margin;
        int start = 0;
        for (int i = 0; i < Count(); ++i) {
            int width = widths[static_cast<size_t>(i)];
            if (multiLine && i > start && x + width > right) {
                rows.emplace_back(start, i);
                start = i;
                x = Margin;
            }
            x += width + gap;
        }
        rows.emplace_back(start, Count());
        layout.rows = static_cast<int>(rows.size());

        // The row of the selected tab moves next to the pane, as a deck of tabs does.
        int selectedRow = 0;
        for (size_t r = 0; r < rows.size(); ++r)
            if (FSel >= rows[r].first && FSel < rows[r].second)
                selectedRow = static_cast<int>(r);
        if (!buttons && selectedRow > 0)
            std::rotate(rows.begin(), rows.begin() + selectedRow, rows.end());

        layout.extent = Margin + layout.rows * (height + gap);
        int paneTop = Bottom() ? client.top : client.top + layout.extent;
        int paneBottom = Bottom() ? client.bottom - layout.extent : client.bottom;
        layout.pane = RECT{client.left, paneTop, client.right, std::max(paneBottom, paneTop)};

        int scrollOffset = 0;
        if (!multiLine && Count() > 0) {
            int total = Margin;
            for (int width : widths)
                total += width + gap;
            if (total > right) {
                // Scroll arrows at the end of the line; the highest first tab still fills the line.
                layout.arrows = RECT{client.right - 2 * ArrowWidth, 0, client.right, 0};
                int tail = 0;
                layout.lastFirstVisible = Count() - 1;
                for (int i = Count() - 1; i >= 0; --i) {
                    tail += widths[static_cast<size_t>(i)] + gap;
                    if (Margin + tail > layout.arrows.left)
                        break;
                    layout.lastFirstVisible = i;
                }
                int first = std::clamp(FFirstVisible, 0, layout.lastFirstVisible);
                for (int i = 0; i < first; ++i)
                    scrollOffset += widths[static_cast<size_t>(i)] + gap;
            }
        }

        for (size_t r = 0; r < rows.size(); ++r) {
            // r == 0 is next to the pane.
            int top = Bottom() ? paneBottom + static_cast<int>(r) * (height + gap)
                               : paneTop - static_cast<int>(r + 1) * (height + gap);
            auto [first, last] = rows[r];
            // The rows of several lines are stretched to the full width unless the style says ragged.
            int used = Margin;
            for (int i = first; i < last; ++i)
                used += widths[static_cast<size_t>(i)] + gap;
            int extra = multiLine && layout.rows > 1 && !(style & TCS_RAGGEDRIGHT) && last > first
                            ? std::max(right - used + gap, 0)
                            : 0;
            int left = Margin - scrollOffset;
            for (int i = first; i < last; ++i) {
                int width = widths[static_cast<size_t>(i)];
                if (extra > 0) {
                    int share = extra / (last - i);
                    width += share;
                    extra -= share;
                }
                layout.items[static_cast<size_t>(i)] = RECT{left, top, left + width, top + height};
                left += width + gap;
            }
        }
        if (layout.arrows.right > layout.arrows.left) {
            int top = Bottom() ? paneBottom : paneTop - height;
            layout.arrows.top = top;
            layout.arrows.bottom = top + std::min(height, ArrowWidth);
        }
        return layout;
    }

    int ItemAt(const TabLayout& layout, POINT point) const {
        if (!IsRectEmpty(&layout.arrows) && PtInRect(&layout.arrows, point))
            return -1;
        for (int i = 0; i < Count(); ++i) {
            RECT rect = layout.items[static_cast<size_t>(i)];
            if (i == FSel && !Buttons())
                InflateRect(&rect, SelectedLift, 0);
            if (rect.right > Margin && PtInRect(&rect, point))
                return i;
        }
        return -1;
    }

    bool Themed() const { return FTheme && IsThemeActive(); }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(FHwnd, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        TabLayout layout = Layout();
        bool buttons = Buttons();
        if (!buttons) {
            RECT pane = layout.pane;
            if (Themed())
                DrawThemeBackground(FTheme, dc, TABP_PANE, 1, &pane, nullptr);
            else
                DrawEdge(dc, &pane, EDGE_RAISED, BF_RECT);
        }
        SelectGuard font(dc, ControlFont(FFont));
        SetBkMode(dc, TRANSPARENT);
        // Tabs scrolled past stay behind the arrows; the selected tab is drawn last, over its neighbours.
        RECT clip = client;
        if (!IsRectEmpty(&layout.arrows))
            clip.right = layout.arrows.left;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        for (int i = 0; i < Count(); ++i)
            if (i != FSel)
                PaintItem(dc, layout, i);
        if (Valid(FSel))
            PaintItem(dc, layout, FSel);
        RestoreDC(dc, saved);
        if (!IsRectEmpty(&layout.arrows))
            PaintArrows(dc, layout);
    }

    void PaintItem(HDC dc, const TabLayout& layout, int index) {
        const TabItem& tab = FItems[static_cast<size_t>(index)];
        RECT rect = layout.items[static_cast<size_t>(index)];
        bool selected = index == FSel;
        bool enabled = IsWindowEnabled(FHwnd);
        DWORD style = Style();
        if (Buttons()) {
            bool pressed = selected || (tab.state & TCIS_BUTTONPRESSED);
            if (pressed || !(style & TCS_FLATBUTTONS))
                DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        } else {
            if (selected) {
                InflateRect(&rect, SelectedLift, 0);
                // It grows away from the pane and covers the pane's edge beneath it.
                if (Bottom()) {
                    rect.bottom += SelectedLift;
                    rect.top -= 1;
                } else {
                    rect.top -= SelectedLift;
                    rect.bottom += 1;
                }
            }
            if (Themed()) {
                int state = !enabled                                 ? TIS_DISABLED
                            : selected                               ? TIS_SELECTED
                            : index == FHot                          ? TIS_HOT
                            : GetFocus() == FHwnd && index == FFocus ? TIS_FOCUSED
                                                                     : TIS_NORMAL;
                DrawThemeBackground(FTheme, dc, TABP_TABITEM, state, &rect, nullptr);
            } else {
                FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
                DrawEdge(dc, &rect, EDGE_RAISED,
                         Bottom() ? BF_LEFT | BF_BOTTOM | BF_RIGHT : BF_LEFT | BF_TOP | BF_RIGHT);
            }
        }
        if (style & TCS_OWNERDRAWFIXED) {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_TAB;
            item.CtlID = static_cast<UINT>(GetWindowLongPtrW(FHwnd, GWLP_ID));
            item.itemID = static_cast<UINT>(index);
            item.itemAction = ODA_DRAWENTIRE;
            item.itemState = selected ? ODS_SELECTED : 0;
            item.hwndItem = FHwnd;
            item.hDC = dc;
            item.rcItem = rect;
            InflateRect(&item.rcItem, -2, -2);
            item.itemData = static_cast<ULONG_PTR>(tab.param);
            if (HWND parent = GetParent(FHwnd))
                SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        } else {
            PaintContent(dc, tab, rect, enabled);
        }
        if (GetFocus() == FHwnd && index == FFocus) {
            RECT focus = rect;
            InflateRect(&focus, -3, -3);
            DrawFocusRect(dc, &focus);
        }
    }

    // The picture and the text side by side, centred together in the tab; a tab too narrow for both
    // keeps the picture at its left and clips the text.
    void PaintContent(HDC dc, const TabItem& tab, const RECT& rect, bool enabled) {
        RECT text = rect;
        if (HasImage(tab)) {
            SIZE image = ImageSize();
            SIZE extent{};
            GetTextExtentPoint32W(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &extent);
            int textWidth = tab.text.empty() ? 0 : extent.cx + ImageGap;
            int left =
                std::max<int>(rect.left + PaddingX, (rect.left + rect.right - image.cx - textWidth) / 2);
            int top = (rect.top + rect.bottom - image.cy) / 2;
            ImageList_Draw(FImages, tab.image, dc, left, top, ILD_TRANSPARENT);
            text.left = left + image.cx + ImageGap;
            text.right = std::max(text.left, std::min<int>(rect.right, text.left + textWidth - ImageGap));
        }
        SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &text,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }

    void PaintArrows(HDC dc, const TabLayout& layout) {
        RECT left = layout.arrows;
        left.right = left.left + ArrowWidth;
        RECT right = layout.arrows;
        right.left = left.right;
        int first = std::clamp(FFirstVisible, 0, layout.lastFirstVisible);
        DrawFrameControl(dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT | (first == 0 ? DFCS_INACTIVE : 0));
        DrawFrameControl(dc, &right, DFC_SCROLL,
                         DFCS_SCROLLRIGHT | (first >= layout.lastFirstVisible ? DFCS_INACTIVE : 0));
    }

    HWND FHwnd;
    ControlTheme FTheme{u"Tab"};
    HFONT FFont = nullptr;
    HIMAGELIST FImages = nullptr; // not owned: the parent destroys it
    std::vector<TabItem> FItems;
    int FSel = -1;
    int FFocus = -1;
    int FHot = -1;         // the tab under the mouse with TCS_HOTTRACK
    int FFirstVisible = 0; // the first tab shown on a scrolled single line
    int FItemWidth = 0;    // TCM_SETITEMSIZE's width, for fixed-width tabs
    int FItemHeight = 0;   // TCM_SETITEMSIZE's height; 0 means from the font
    bool FPressed = false; // a click on a tab is held
};

LRESULT TabControlWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tabs = ControlState<TabControl>(hwnd, message, [&] { return new TabControl(hwnd); });
    if (!tabs)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const int index = static_cast<int>(wParam);
    switch (message) {
    case WM_CREATE:
        tabs->WMCreate();
        return 0;
    case WM_DESTROY:
        tabs->WMDestroy();
        return 0;
    case WM_THEMECHANGED:
        tabs->WMThemeChanged();
        return 0;
    case WM_SETFONT:
        tabs->WMSetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(tabs->WMGetFont());
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        // A WM_PAINT carrying a DC paints into it: a parent that paints its children itself (a page
        // control with its sheets) has already begun painting, so the update region is gone.
        tabs->WMPaint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        tabs->WMLButtonDown(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        tabs->WMLButtonUp();
        return 0;
    case WM_MOUSEMOVE:
        tabs->WMMouseMove(PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        tabs->WMMouseLeave();
        return 0;
    case WM_KEYDOWN:
        tabs->WMKeyDown(wParam, lParam);
        return 0;
    case WM_SIZE:
        tabs->WMSize();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_STYLECHANGED:
        tabs->Invalidate();
        return 0;
    case TCM_GETITEMCOUNT:
        return tabs->Count();
    case TCM_INSERTITEMW:
        return tabs->TCMInsertItem(index, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_DELETEITEM:
        return tabs->TCMDeleteItem(index);
    case TCM_DELETEALLITEMS:
        return tabs->TCMDeleteAllItems();
    case TCM_GETITEMW:
        return tabs->TCMGetItem(index, reinterpret_cast<TCITEMW*>(lParam));
    case TCM_SETITEMW:
        return tabs->TCMSetItem(index, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_GETCURSEL:
        return tabs->TCMGetCurSel();
    case TCM_SETCURSEL:
        return tabs->TCMSetCurSel(index);
    case TCM_GETCURFOCUS:
        return tabs->TCMGetCurFocus();
    case TCM_SETCURFOCUS:
        tabs->TCMSetCurFocus(index);
        return 0;
    case TCM_GETITEMRECT:
        return tabs->TCMGetItemRect(index, reinterpret_cast<RECT*>(lParam));
    case TCM_ADJUSTRECT:
        tabs->TCMAdjustRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
        return 0;
    case TCM_HITTEST:
        return tabs->TCMHitTest(reinterpret_cast<TCHITTESTINFO*>(lParam));
    case TCM_SETITEMSIZE:
        return tabs->TCMSetItemSize(LOWORD(lParam), HIWORD(lParam));
    case TCM_SETIMAGELIST:
        return tabs->TCMSetImageList(reinterpret_cast<HIMAGELIST>(lParam));
    case TCM_GETIMAGELIST:
        return tabs->TCMGetImageList();
    case TCM_GETROWCOUNT:
        return tabs->TCMGetRowCount();
    default:
        if (message >= TCM_FIRST && message <= TCM_INSERTITEMW)
            ZFIXME(TraceTab, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterTabControlClass() {
    RegisterControlClass(WC_TABCONTROLW, TabControlWndProc,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

} // namespace win32::controls
