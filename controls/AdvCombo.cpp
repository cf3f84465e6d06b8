// The styled combo box: its settings, label, focus and hover states and its painting.
#include "controls/AdvCombo.h"

#include <unordered_map>

#include "grid/view/AsgCombo.h"

#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"

using namespace AdvEdit;

DEFINE_CLASS(TAdvCustomCombo)
DEFINE_CLASS(
    TAdvComboBox, PROPERTY(Flat).Default(false), PROPERTY(Etched).Default(false),
    PROPERTY(ButtonWidth).Default(19), PROPERTY(DropWidth).Default(0),
    PROPERTY(FlatLineColor).Type(TypeInfoColor()).Default(clBlack), PROPERTY(FlatParentColor).Default(true),
    PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(FocusBorder).Default(false),
    PROPERTY(FocusBorderColor).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(FocusColor).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(FocusFontColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(FocusLabel).Default(false),
    PROPERTY(DisabledBorder).Default(true), PROPERTY(AutoFocus).Default(false), PROPERTY(EmptyText),
    PROPERTY(EmptyTextFocused).Default(false), PROPERTY(EmptyTextStyle), PROPERTY(LabelCaption),
    PROPERTY(LabelPosition).Default(lpLeftTop), PROPERTY(LabelMargin).Default(4),
    PROPERTY(LabelTransparent).Default(false), PROPERTY(LabelAlwaysEnabled).Default(false),
    PROPERTY(LabelFont), PROPERTY(Color).Type(TypeInfoColor()).Default(clWindow),
    PROPERTY(Version).Stored(false), PROPERTY(Style).Default(csDropDown), PROPERTY(Items),
    PROPERTY(ItemIndex).Default(-1), PROPERTY(DropDownCount).Default(8), PROPERTY(Sorted).Default(false),
    PROPERTY(AutoComplete).Default(true), PROPERTY(MaxLength).Default(0), EVENT(OnChange), EVENT(OnSelect),
    EVENT(OnDropDown), EVENT(OnCloseUp), EVENT(OnDropUp))

void AdvComboStartup() {
    static const bool started = [] {
        // A name another class took already ends the registration; the combo works without it.
        try {
            RegisterClass(TAdvComboBox::StaticClass());
        } catch (const Exception&) {
        }
        return true;
    }();
    (void)started;
}

namespace {

// The field windows hooked for placeholders, and their combo boxes.
std::unordered_map<HWND, TAdvCustomCombo*>& HookedFields() {
    static std::unordered_map<HWND, TAdvCustomCombo*> fields;
    return fields;
}

void ExcludeRect(HDC dc, const RECT& r) {
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

} // namespace

TAdvCustomCombo::TAdvCustomCombo(TComponent* owner)
    : TCustomComboBox(owner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2),
      FLabelFont(std::make_unique<TFont>()), FIsWinXP(IsWinXPOrLater()), FIsThemed(IsComCtl6OrLater()) {
    AdvComboStartup();
    FLabelFont->OnChange = [this](TObject*) { LabelFontChanged(); };
    FFontColor = Font()->Color();
}

TAdvCustomCombo::~TAdvCustomCombo() {
    UnhookEditPart();
    if (FLabel != nullptr)
        FLabel->SetParent(nullptr);
}

String TAdvCustomCombo::Version() const {
    Integer nr = GetVersionNr();
    return IntToStr((nr >> 24) & 0xFF) + u"." + IntToStr((nr >> 16) & 0xFF) + u"." +
           IntToStr((nr >> 8) & 0xFF) + u"." + IntToStr(nr & 0xFF);
}

Integer TAdvCustomCombo::GetVersionNr() const {
    return (1 << 24) | (5 << 16) | (1 << 8) | 1;
}

void TAdvCustomCombo::SelectItem(const String& text) {
    Integer index = Items()->IndexOf(text);
    if (index < 0)
        return;
    SetItemIndex(index);
    Change();
}

// ---- Settings ----

void TAdvCustomCombo::SetFlat(bool value) {
    if (FFlat == value)
        return;
    FFlat = value;
    SetCtl3D(!value);
    if (value && FFlatParentColor && Parent() != nullptr)
        TControl::SetColor(Parent()->Brush()->Color());
    else
        TControl::SetColor(FLoadedColor);
    Invalidate();
}

void TAdvCustomCombo::SetEtched(bool value) {
    FEtched = value;
    Invalidate();
}

void TAdvCustomCombo::SetButtonWidth(Integer value) {
    if (value < 14 || value > 32)
        return;
    FButtonWidth = value;
    Invalidate();
}

void TAdvCustomCombo::SetDropWidth(Integer value) {
    FDropWidth = value;
    if (value > 0 && HandleAllocated())
        SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(value), 0);
}

void TAdvCustomCombo::SetFlatLineColor(TColor value) {
    FFlatLineColor = value;
    Invalidate();
}

void TAdvCustomCombo::SetFlatParentColor(bool value) {
    FFlatParentColor = value;
    Invalidate();
}

void TAdvCustomCombo::SetBorderColor(TColor value) {
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    if (HandleAllocated())
        SendMessageW(Handle(), WM_NCPAINT, 1, 0);
}

void TAdvCustomCombo::SetEmptyText(const String& value) {
    FEmptyText = value;
    Invalidate();
    if (FEditPart != nullptr)
        InvalidateRect(FEditPart, nullptr, TRUE);
}

void TAdvCustomCombo::SetEmptyTextStyle(TFontStyles value) {
    FEmptyTextStyle = value;
    Invalidate();
}

void TAdvCustomCombo::SetColor(TColor value) {
    if (ComponentState().Contains(csLoading))
        FLoadedColor = value;
    TControl::SetColor(value);
    if (!ComponentState().Contains(csLoading) && !FHasFocus) {
        FNormalColor = value;
        FNormalColorTaken = true;
    }
}

void TAdvCustomCombo::SetEnabled(bool value) {
    const bool changed = value != Enabled();
    if (changed && FFlat && !ComponentState().Contains(csLoading))
        SwapFlatComboColours(this, value, FOldColor, FOldParentColor);
    TCustomComboBox::SetEnabled(value);
    const TComponentState state = ComponentState();
    if (!changed || state.Contains(csLoading) || state.Contains(csDesigning) || FLabel == nullptr)
        return;
    if (!FLabelAlwaysEnabled)
        FLabel->SetEnabled(value);
    UpdateLabel();
}

void TAdvCustomCombo::CMVisibleChanged(TMessage& message) {
    TCustomComboBox::CMVisibleChanged(message);
    if (FLabel != nullptr)
        FLabel->SetVisible(Visible());
}

// ---- The label ----

String TAdvCustomCombo::LabelCaption() const {
    return FLabel != nullptr ? FLabel->Caption() : String();
}

void TAdvCustomCombo::SetLabelCaption(const String& value) {
    if (FLabel == nullptr)
        CreateLabel();
    FLabel->SetCaption(value);
    UpdateLabel();
}

void TAdvCustomCombo::CreateLabel() {
    FLabel = CreateComboLabel(this, FLabelFont.get());
}

void TAdvCustomCombo::UpdateLabel() {
    if (FLabel == nullptr)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
    UpdateLabelPos();
}

void TAdvCustomCombo::UpdateLabelPos() {
    if (FLabel == nullptr || FLabel->Parent() == nullptr)
        return;
    RECT measure{0, 0, 1000, 255};
    String caption = FLabel->Caption();
    DrawTextW(FLabel->Canvas()->Handle(), caption.c_str(), static_cast<int>(caption.size()), &measure,
              DT_CALCRECT | DT_HIDEPREFIX);
    // The combo centres its label without the edit's border term.
    TPoint place = EditLabelPlace(FLabelPosition, TRect(Left(), Top(), Left() + Width(), Top() + Height()),
                                  TPoint(FLabel->Width(), FLabel->Height()), FLabelMargin,
                                  measure.right - measure.left, 0);
    FLabel->SetBounds(place.X, place.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

void TAdvCustomCombo::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelMargin(Integer value) {
    FLabelMargin = value;
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (FLabel != nullptr && value)
        FLabel->SetEnabled(true);
    UpdateLabel();
}

void TAdvCustomCombo::SetLabelFont(TFont* value) {
    if (!ParentFont())
        FLabelFont->Assign(value);
    UpdateLabel();
}

void TAdvCustomCombo::LabelFontChanged() {
    UpdateLabel();
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetParentFont(false);
}

void TAdvCustomCombo::SetLabelBold(bool bold) {
    if (FLabel == nullptr)
        return;
    SetLabelFontBold(FLabel->Font(), bold);
    UpdateLabelPos();
}

void TAdvCustomCombo::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    // An aligned combo leaves room for its label, as the typed edit does.
    MakeLabelRoom(FLabelPosition, Align(), FLabel, FLabelMargin, left, top, width);
    TCustomComboBox::SetBounds(left, top, width, height);
    if (!ComponentState().Contains(csDestroying))
        UpdateLabel();
}

void TAdvCustomCombo::SetParent(TWinControl* parent) {
    TCustomComboBox::SetParent(parent);
    if (FLabel != nullptr) {
        FLabel->SetParent(parent);
        UpdateLabel();
    }
}

void TAdvCustomCombo::CMFontChanged(TMessage& message) {
    TCustomComboBox::CMFontChanged(message);
    const TComponentState state = ComponentState();
    if (FLabel != nullptr && ParentFont() && (state.Contains(csDesigning) || state.Contains(csLoading)))
        FLabel->Font()->Assign(Font());
}

void TAdvCustomCombo::CMParentFontChanged(TMessage& message) {
    TCustomComboBox::CMParentFontChanged(message);
    if (FLabel != nullptr && ParentFont()) {
        FLabel->Font()->Assign(Font());
        UpdateLabelPos();
    }
}

void TAdvCustomCombo::ChangeScale(Integer m, Integer d) {
    TCustomComboBox::ChangeScale(m, d);
    if (FLabel != nullptr && !ComponentState().Contains(csLoading))
        FLabel->Font()->SetSize(Font()->Size());
}

// ---- Life cycle ----

void TAdvCustomCombo::CreateWnd() {
    TCustomComboBox::CreateWnd();
    UpdateLabel();
    if (FDropWidth > 0)
        SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
    HookEditPart();
}

void TAdvCustomCombo::DestroyWnd() {
    UnhookEditPart();
    TCustomComboBox::DestroyWnd();
}

void TAdvCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    if (FDropWidth > 0 && HandleAllocated())
        SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
    FOldColor = FLoadedColor;
    if (!FFlatParentColor || FFlat)
        TControl::SetColor(FLoadedColor);
    if (FLabel != nullptr && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
    FParentFnt = ParentFont();
    UpdateLabel();
    FNormalColor = Color();
    FNormalColorTaken = true;
}

void TAdvCustomCombo::HookEditPart() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(Handle(), &info) || info.hwndItem == nullptr)
        return;
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(info.hwndItem, GWLP_WNDPROC));
    if (current == &EditWndProc)
        return;
    FEditPart = info.hwndItem;
    FWinProc = current;
    HookedFields()[FEditPart] = this;
    SetWindowLongPtrW(FEditPart, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditWndProc));
}

void TAdvCustomCombo::UnhookEditPart() {
    if (FEditPart == nullptr)
        return;
    if (IsWindow(FEditPart) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FEditPart, GWLP_WNDPROC)) == &EditWndProc)
        SetWindowLongPtrW(FEditPart, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FWinProc));
    HookedFields().erase(FEditPart);
    FEditPart = nullptr;
    FWinProc = nullptr;
}

LRESULT TAdvCustomCombo::EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto found = HookedFields().find(hwnd);
    if (found == HookedFields().end())
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    TAdvCustomCombo* combo = found->second;
    LRESULT result = CallWindowProcW(combo->FWinProc, hwnd, msg, wParam, lParam);
    if (msg == WM_PAINT)
        combo->PaintEmptyText(hwnd);
    return result;
}

void TAdvCustomCombo::PaintEmptyText(HWND edit) {
    if (!Text().empty() || FEmptyText.empty() || (!FEmptyTextFocused && GetFocus() == edit))
        return;
    HDC dc = GetDC(edit);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->Assign(Font());
    canvas.Font()->SetStyle(FEmptyTextStyle);
    canvas.Font()->SetColor(clGray);
    canvas.TextOut(3, 1, FEmptyText);
    canvas.SetHandle(nullptr);
    ReleaseDC(edit, dc);
}

// ---- Focus and mouse ----

void TAdvCustomCombo::CMEnter(TMessage& message) {
    TCustomComboBox::CMEnter(message);
    if (ComponentState().Contains(csDesigning))
        return;
    if (!FNormalColorTaken) {
        FNormalColor = Color();
        FNormalColorTaken = true;
    }
    FHasFocus = true;
    DrawFrame();
    if (FFocusColor != clNone)
        TControl::SetColor(FFocusColor);
    if (FFocusLabel)
        SetLabelBold(true);
}

void TAdvCustomCombo::CMExit(TMessage& message) {
    TCustomComboBox::CMExit(message);
    if (ComponentState().Contains(csDesigning))
        return;
    FHasFocus = false;
    DrawFrame();
    if (FFocusColor != clNone && FNormalColor != clNone)
        TControl::SetColor(FNormalColor);
    if (FFocusLabel)
        SetLabelBold(false);
}

void TAdvCustomCombo::WMSetFocus(TMessage& message) {
    TCustomComboBox::WMSetFocus(message);
    if (FFocusBorderColor != clNone)
        Invalidate();
    if (FFocusColor != clNone)
        TControl::SetColor(FFocusColor);
    if (FFocusFontColor != clNone && FFocusFontColor != Font()->Color()) {
        FFontColor = Font()->Color();
        Font()->SetColor(FFocusFontColor);
        UpdateLabel();
    }
    if (FFocusLabel)
        SetLabelBold(true);
}

void TAdvCustomCombo::DoExit() {
    TCustomComboBox::DoExit();
    if (FFocusColor != clNone && FNormalColor != clNone)
        TControl::SetColor(FNormalColor);
    if (FFocusFontColor != clNone) {
        Font()->SetColor(FFontColor);
        UpdateLabel();
    }
    if (FFocusLabel)
        SetLabelBold(false);
    Invalidate();
}

void TAdvCustomCombo::CMMouseEnter(TMessage& message) {
    TCustomComboBox::CMMouseEnter(message);
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        DrawFrame();
    }
    if (FAutoFocus && !ComponentState().Contains(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if (form == nullptr || (form->HandleAllocated() && GetActiveWindow() == form->Handle()))
            if (CanFocus())
                SetFocus();
    }
    if (FIsWinXP)
        Invalidate();
}

void TAdvCustomCombo::CMMouseLeave(TMessage& message) {
    TCustomComboBox::CMMouseLeave(message);
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        DrawFrame();
    }
    FButtonHover = false;
    if (FIsWinXP)
        Invalidate();
}

void TAdvCustomCombo::MouseMove(TShiftState shift, int x, int y) {
    TCustomComboBox::MouseMove(shift, x, y);
    const bool over = Width() - FButtonWidth < x && x < Width();
    if (over != FButtonHover) {
        FButtonHover = over;
        Invalidate();
    }
}

void TAdvCustomCombo::CNCommand(TMessage& message) {
    TCustomComboBox::CNCommand(message);
    const WORD code = HIWORD(message.WParam);
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
        TRect client = ClientRect();
        RECT button{client.Right - FButtonWidth, client.Top, client.Right, client.Bottom};
        InvalidateRect(Handle(), &button, FALSE);
        if (code == CBN_CLOSEUP && OnDropUp)
            OnDropUp(this);
    }
}

// ---- Painting ----

bool TAdvCustomCombo::UseThemes() const {
    return FIsThemed && IsThemeActive();
}

bool TAdvCustomCombo::IsHot() {
    if (ComponentState().Contains(csDesigning))
        return Enabled();
    return FMouseInControl || Screen()->ActiveControl() == this;
}

bool TAdvCustomCombo::SpecialPaint() {
    return FFlat || ButtonColor != clNone || FBorderColor != clNone ||
           (FFocusBorderColor != clNone && Focused()) || (!Enabled() && UseThemes() && !FDisabledBorder);
}

void TAdvCustomCombo::Dispatch(TMessage& message) {
    if (message.Msg == WM_NCPAINT) {
        TCustomComboBox::Dispatch(message);
        if (FFlat || (!Enabled() && UseThemes() && !FDisabledBorder))
            DrawFrame();
        if (FBorderColor != clNone || (FFocusBorderColor != clNone && Focused()))
            DrawFrame();
        return;
    }
    TCustomComboBox::Dispatch(message);
}

void TAdvCustomCombo::WMPaint(TMessage& message) {
    if (!SpecialPaint()) {
        TCustomComboBox::WMPaint(message);
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool begun = dc == nullptr;
    if (begun)
        dc = BeginPaint(Handle(), &ps);
    if (Style() != csSimple) {
        TRect client = ClientRect();
        RECT r = client;
        FillRect(dc, &r, Brush()->Handle());
        DrawDropButton(dc);
    }
    PaintWindow(dc);
    if (begun)
        EndPaint(Handle(), &ps);
    DrawFrame();
}

void TAdvCustomCombo::DrawDropButton(HDC dc) {
    const TRect client = ClientRect();
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT r{client.Right - FButtonWidth + 2, 0, window.right - window.left, window.bottom - window.top};
    InflateRect(&r, -1, -1);
    if (ButtonColor == clNone) {
        if (UseThemes()) {
            if (HTHEME theme = OpenThemeData(Handle(), u"combobox"); theme != nullptr) {
                DrawThemeBackground(
                    theme, dc, CP_DROPDOWNBUTTON,
                    ComboButtonThemeState(Enabled(), ComboMouseButtonHeld(), DroppedDown(), FButtonHover), &r,
                    nullptr);
                CloseThemeData(theme);
            }
        } else {
            DrawFrameControl(dc, &r, DFC_SCROLL,
                             DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
        }
    } else {
        const bool held = ComboMouseButtonHeld() && FButtonHover;
        PaintComboColourButton(dc, r,
                               held           ? ButtonColorDown
                               : FButtonHover ? ButtonColorHot
                                              : ButtonColor,
                               ButtonBorderColor, held ? ButtonTextColorDown : ButtonTextColor);
    }
    ExcludeRect(dc, RECT{client.Right - FButtonWidth - 4, 0, client.Right + 2, client.Bottom});
}

void TAdvCustomCombo::DrawFrame() {
    if (!HandleAllocated())
        return;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    HDC dc = GetWindowDC(Handle());
    DrawComboBorder(dc);
    if (Style() != csSimple && !(FIsWinXP && UseThemes()))
        DrawButtonEdge(dc);
    ReleaseDC(Handle(), dc);
}

void TAdvCustomCombo::DrawComboBorder(HDC dc) {
    RECT window{};
    GetWindowRect(Handle(), &window);
    const bool hot = FFocusBorder && !ComponentState().Contains(csDesigning) &&
                     (FMouseInControl || Screen()->ActiveControl() == this);
    PaintComboFrame(dc, RECT{0, 0, window.right - window.left, window.bottom - window.top},
                    {Enabled(), FIsThemed, FDisabledBorder, Focused(), hot, FFlat, FBorderColor,
                     FFocusBorderColor, FFlatLineColor,
                     Parent() != nullptr ? Parent()->Brush()->Color() : clBtnFace, Color(), FButtonWidth,
                     Height()});
}

void TAdvCustomCombo::DrawButtonEdge(HDC dc) {
    const TRect client = ClientRect();
    ExcludeRect(dc, RECT{client.Right - FButtonWidth + 4, 4, client.Right - 4, client.Bottom - 4});
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT r{client.Right - FButtonWidth - 2, 0, window.right - window.left, window.bottom - window.top};
    InflateRect(&r, -2, -2);
    if (IsHot()) {
        UINT flags = BF_RECT | (DroppedDown() ? BF_FLAT : 0);
        DrawEdge(dc, &r, FEtched ? EDGE_ETCHED : EDGE_RAISED, flags);
    } else {
        RECT face{r.left, r.top + 1, r.right - 1, r.bottom - 1};
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeRect(dc, r);
}
