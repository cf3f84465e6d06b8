// The Office-style radio group and check group: one item control per line of Items, laid out in columns,
// the selected item or the checked items and their mask, and the items' clicks, keys and focus.
#include "controls/AdvOfficeButtons.h"

#include <algorithm>

#include "platform/framework/Application.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winbutton.h"

#define OFFICE_GROUP_PROPERTIES                                                                              \
    PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(ButtonVertAlign).Default(tvaTop),                   \
        PROPERTY(Columns).Default(1), PROPERTY(ControlIndent).Default(0),                                    \
        PROPERTY(DisabledFontColor).Type(TypeInfoColor()).Default(clGray),                                   \
        PROPERTY(Ellipsis).Default(false), PROPERTY(Images), PROPERTY(Items), PROPERTY(PictureContainer),    \
        PROPERTY(ShadowColor).Type(TypeInfoColor()).Default(clSilver), PROPERTY(ShadowOffset).Default(1),    \
        PROPERTY(ShowFocus).Default(true), PROPERTY(Themed).Default(false), EVENT(OnIsEnabled)

DEFINE_CLASS(TAdvOfficeButtonGroup)
DEFINE_CLASS(TAdvGroupButton)
DEFINE_CLASS(TCustomAdvOfficeRadioGroup)
DEFINE_CLASS(TAdvOfficeRadioGroup, OFFICE_GROUP_PROPERTIES, PROPERTY(ItemIndex).Default(-1),
             EVENT(OnRadioButtonClick))
DEFINE_CLASS(TGroupCheck)
DEFINE_CLASS(TCustomAdvOfficeCheckGroup)
DEFINE_CLASS(TAdvOfficeCheckGroup, OFFICE_GROUP_PROPERTIES, EVENT(OnCheckBoxClick), EVENT(OnGroupCheckClick))

namespace {

inline constexpr Integer OfficeGroupsVersion = 0x01030808;

// The height of a line of font, from its metrics on a screen device context.
int FontTextHeight(TFont* font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

struct ItemPlace {
    int x, y, width, height;
};

// Where item i of count goes: columns filled top to bottom, then the next column.
ItemPlace PlaceItem(TAdvGroupBox* group, Integer i, Integer count, Integer columns, Integer indent,
                    bool rightToLeft) {
    int textHeight = FontTextHeight(group->Font());
    int rows = (count + columns - 1) / columns;
    int width = (group->Width() - 10) / columns;
    int freeHeight = group->Height() - textHeight - 5;
    int height = freeHeight / rows;
    int top = (freeHeight % rows) / 2 + textHeight + 1;
    if (group->Caption().empty())
        top -= textHeight / 2;
    int x = (i / rows) * width + (columns == 1 ? indent : 0) + 8;
    if (rightToLeft)
        x = group->ClientWidth() - x - width;
    return {x, (i % rows) * height + top, width, height};
}

// Moves the items: in one deferred batch once the group has a window, else one by one.
template <class Item>
void PlaceItems(TAdvGroupBox* group, const std::vector<Item*>& items, Integer columns, Integer indent) {
    Integer count = static_cast<Integer>(items.size());
    if (!group->HandleAllocated()) {
        for (Integer i = 0; i < count; ++i) {
            ItemPlace p = PlaceItem(group, i, count, columns, indent, items[i]->UseRightToLeftAlignment());
            items[i]->SetBounds(p.x, p.y, p.width, p.height);
        }
        return;
    }
    HDWP batch = BeginDeferWindowPos(count);
    for (Integer i = 0; i < count && batch != nullptr; ++i) {
        ItemPlace p = PlaceItem(group, i, count, columns, indent, items[i]->UseRightToLeftAlignment());
        batch = DeferWindowPos(batch, items[i]->Handle(), nullptr, p.x, p.y, p.width, p.height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch != nullptr)
        EndDeferWindowPos(batch);
}

template <class Item> Integer IndexOf(const std::vector<Item*>& items, const TObject* item) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == item)
            return static_cast<Integer>(i);
    return -1;
}

template <class Item> Integer ItemAt(const std::vector<Item*>& items, Integer x, Integer y) {
    for (size_t i = 0; i < items.size(); ++i) {
        TRect r = items[i]->ClientRect();
        r = TRect(r.Left + items[i]->Left(), r.Top + items[i]->Top(), r.Right + items[i]->Left(),
                  r.Bottom + items[i]->Top());
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return static_cast<Integer>(i);
    }
    return -1;
}

// An item's command notification goes on only while the group allows a change; an error in its handling
// goes to the application's handler.
template <class Base>
void ItemCommand(TObject* item, bool& inClick, bool allowed, TMessage& message, Base handle) {
    WORD code = HIWORD(static_cast<DWORD>(message.WParam));
    if (message.Msg != CN_COMMAND || (code != BN_CLICKED && code != BN_DOUBLECLICKED) || inClick) {
        handle(message);
        return;
    }
    inClick = true;
    try {
        if (allowed)
            handle(message);
    } catch (Exception&) {
        Application->HandleException(item);
    }
    inClick = false;
}

} // namespace

// ======== What both groups share ========

TAdvOfficeButtonGroup::TAdvOfficeButtonGroup(TComponent* owner)
    : TAdvGroupBox(owner), FItems(std::make_unique<TStringList>()) {
    FItems->OnChange = [this](TObject*) { UpdateButtons(); };
}

TAdvOfficeButtonGroup::~TAdvOfficeButtonGroup() = default;

void TAdvOfficeButtonGroup::PaintChildrenTo(HDC dc) {
    // Each item paints the group beneath itself. Here the group has just painted itself into dc, so one
    // copy of that serves every item in place of the group's erase and paint (and its parent's) again.
    // Only pixels can be copied back: not from a printer or a recording, nor through a scaling map mode.
    TRect client = ClientRect();
    bool copyable = ControlCount() > 0 && client.Width() > 0 && client.Height() > 0 &&
                    GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY && GetMapMode(dc) == MM_TEXT;
    if (!copyable) {
        TAdvGroupBox::PaintChildrenTo(dc);
        return;
    }
    // The picture is dropped however the items' painting ends.
    struct Keep {
        HDC& dc;
        ~Keep() { dc = nullptr; }
    } keep{FPictureDC};
    FPictureSize = TSize{client.Width(), client.Height()};
    FPictureInPlace = ItemsKeepPictureInPlace();
    if (!FPictureInPlace) {
        if (FPaintPicture == nullptr)
            FPaintPicture = std::make_unique<TBitmap>();
        if (FPaintPicture->Width() != client.Width() || FPaintPicture->Height() != client.Height())
            FPaintPicture->SetSize(client.Width(), client.Height());
        if (!BitBlt(FPaintPicture->Canvas()->Handle(), 0, 0, client.Width(), client.Height(), dc, 0, 0,
                    SRCCOPY)) {
            TAdvGroupBox::PaintChildrenTo(dc);
            return;
        }
    }
    FPictureDC = dc;
    TAdvGroupBox::PaintChildrenTo(dc);
}

bool TAdvOfficeButtonGroup::ItemsKeepPictureInPlace() {
    // Every child is painted clipped to its own bounds. When the children are the group's own items, which
    // skip their erase (PictureCovers), and they lie inside the client area and apart from one another,
    // nothing but the item itself ever draws over its part of dc before it paints, so dc still shows there
    // what a copy would bring.
    Integer count = ItemButtonCount();
    if (ControlCount() != count)
        return false;
    std::vector<TRect> placed;
    placed.reserve(static_cast<size_t>(count));
    for (Integer i = 0; i < count; ++i) {
        TAdvOfficeButton* item = ItemButton(i);
        if (item->Parent() != this || item->TransparentChaching())
            return false;
        if (!item->Visible())
            continue;
        if (!InsidePicture(item))
            return false;
        const TRect bounds = item->BoundsRect();
        for (const TRect& other : placed)
            if (bounds.Left < other.Right && other.Left < bounds.Right && bounds.Top < other.Bottom &&
                other.Top < bounds.Bottom)
                return false;
        placed.push_back(bounds);
    }
    return true;
}

bool TAdvOfficeButtonGroup::InsidePicture(const TControl* item) const {
    const TRect bounds = item->BoundsRect();
    return bounds.Left >= 0 && bounds.Top >= 0 && bounds.Right <= FPictureSize.cx &&
           bounds.Bottom <= FPictureSize.cy;
}

bool TAdvOfficeButtonGroup::PictureCovers(TControl* item, HDC dc) const {
    return FPictureDC != nullptr && dc == FPictureDC && item->Parent() == this && InsidePicture(item);
}

bool TAdvOfficeButtonGroup::DrawPictureBeneath(TControl* item, HDC dc) {
    if (FPictureDC == nullptr || dc != FPictureDC || item->Parent() != this)
        return false;
    if (FPictureInPlace)
        return true;
    const TRect part = item->BoundsRect();
    RECT copy{};
    RECT itemRect = part;
    RECT picture{0, 0, FPaintPicture->Width(), FPaintPicture->Height()};
    if (IntersectRect(&copy, &itemRect, &picture))
        BitBlt(dc, copy.left - part.Left, copy.top - part.Top, copy.right - copy.left, copy.bottom - copy.top,
               FPaintPicture->Canvas()->Handle(), copy.left, copy.top, SRCCOPY);
    return true;
}

void TAdvOfficeButtonGroup::SetColumns(Integer value) {
    value = std::max<Integer>(1, std::min<Integer>(value, 16));
    if (value == FColumns)
        return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
}

void TAdvOfficeButtonGroup::SetAlignment(TAlignment value) {
    FAlignment = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::SetButtonVertAlign(TTextVAlignment value) {
    FBtnVAlign = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::SetControlIndent(Integer value) {
    if (value == FControlIndent)
        return;
    FControlIndent = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::SetImages(TCustomImageList* value) {
    TAdvGroupBox::SetImages(value);
    FButtonImages = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::SetPictureContainer(TPictureContainer* value) {
    FContainer = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::SetShowFocus(bool value) {
    if (value == FShowFocus)
        return;
    FShowFocus = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::SetThemed(bool value) {
    if (value == FThemed)
        return;
    FThemed = value;
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::PushKey(Char& key) {
    KeyPress(key);
}

void TAdvOfficeButtonGroup::PushKeyDown(Word& key, TShiftState shift) {
    KeyDown(key, shift);
}

Integer TAdvOfficeButtonGroup::GetVersionNr() {
    return OfficeGroupsVersion;
}

void TAdvOfficeButtonGroup::ReadState(TReader* reader) {
    FReading = true;
    TAdvGroupBox::ReadState(reader);
    FReading = false;
    UpdateButtons();
}

void TAdvOfficeButtonGroup::Resize() {
    TAdvGroupBox::Resize();
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::CMFontChanged(TMessage& message) {
    TAdvGroupBox::CMFontChanged(message);
    ArrangeButtons();
}

void TAdvOfficeButtonGroup::ApplyItemSettings(TAdvOfficeButton* item) {
    item->SetBiDiMode(BiDiMode());
    item->SetAlignment(FAlignment);
    item->SetButtonVertAlign(FBtnVAlign);
    item->SetImages(FButtonImages);
    item->SetPictureContainer(FContainer);
    item->SetEllipsis(FEllipsis);
    item->SetShadowOffset(FShadowOffset);
    item->SetShadowColor(FShadowColor);
    item->SetShowFocus(FShowFocus);
    item->SetDisabledFontColor(FDisabledFontColor);
    item->SetThemed(FThemed);
}

// ======== The radio group ========

TAdvGroupButton* TAdvGroupButton::InternalCreate(TCustomAdvOfficeRadioGroup* radioGroup) {
    auto* button = new TAdvGroupButton(radioGroup);
    button->FGroup = radioGroup;
    radioGroup->FButtons.push_back(button);
    button->SetVisible(true);
    button->SetEnabled(radioGroup->Enabled());
    button->SetParentShowHint(false);
    button->OnClick = [radioGroup](TObject* sender) { radioGroup->ButtonClick(sender); };
    button->OnEnter = [radioGroup](TObject*) {
        for (Integer i = 0; i < radioGroup->ButtonCount(); ++i)
            if (radioGroup->FButtons[static_cast<size_t>(i)]->Focused())
                radioGroup->FFocusButtonIdx = i;
    };
    button->SetParent(radioGroup);
    return button;
}

TAdvGroupButton::~TAdvGroupButton() {
    if (FGroup != nullptr)
        std::erase(FGroup->FButtons, this);
}

void TAdvGroupButton::KeyDown(Word& key, TShiftState shift) {
    TAdvOfficeRadioButton::KeyDown(key, shift);
    if (FGroup != nullptr)
        FGroup->PushKeyDown(key, shift);
}

void TAdvGroupButton::KeyPress(Char& key) {
    if (FGroup != nullptr) {
        FGroup->PushKey(key);
        if ((key == VK_BACK || key == u' ') && !FGroup->AllowItemChange())
            key = 0;
    }
    TAdvOfficeRadioButton::KeyPress(key);
}

void TAdvGroupButton::MouseMove(TShiftState shift, int x, int y) {
    TAdvOfficeRadioButton::MouseMove(shift, x, y);
    if (FGroup != nullptr && FGroup->OnMouseMove)
        FGroup->OnMouseMove(FGroup, shift, x + Left(), y + Top());
}

void TAdvGroupButton::WndProc(TMessage& message) {
    ItemCommand(this, FInClick, FGroup == nullptr || FGroup->AllowItemChange(), message,
                [this](TMessage& m) { TAdvOfficeRadioButton::WndProc(m); });
}

TCustomAdvOfficeRadioGroup::TCustomAdvOfficeRadioGroup(TComponent* owner) : TAdvOfficeButtonGroup(owner) {
    FControlStyle = TControlStyle{csSetCaption};
}

TCustomAdvOfficeRadioGroup::~TCustomAdvOfficeRadioGroup() {
    while (!FButtons.empty())
        delete FButtons.back();
    FItems->OnChange = nullptr;
}

void TCustomAdvOfficeRadioGroup::DoRadioButtonClick() {
    if (OnRadioButtonClick)
        OnRadioButtonClick(this);
}

void TCustomAdvOfficeRadioGroup::SetItemIndex(Integer value) {
    if (FReading) {
        FItemIndex = value;
        return;
    }
    Integer count = ButtonCount();
    value = std::max<Integer>(-1, std::min<Integer>(value, count - 1));
    if (value == FItemIndex)
        return;
    // The items change silently: a click flag stays raised until the item's next mouse press.
    if (FItemIndex >= 0 && FItemIndex < count) {
        TAdvGroupButton* old = FButtons[static_cast<size_t>(FItemIndex)];
        old->FClicksDisabled = true;
        old->SetChecked(false);
    }
    FItemIndex = value;
    if (value >= 0) {
        TAdvGroupButton* item = FButtons[static_cast<size_t>(value)];
        item->FClicksDisabled = true;
        item->SetChecked(true);
    }
}

void TCustomAdvOfficeRadioGroup::SetEllipsis(bool value) {
    FEllipsis = value;
    ArrangeButtons();
}

void TCustomAdvOfficeRadioGroup::SetShadowColor(TColor value) {
    FShadowColor = value;
    ArrangeButtons();
}

void TCustomAdvOfficeRadioGroup::SetShadowOffset(Integer value) {
    FShadowOffset = value;
    ArrangeButtons();
}

void TCustomAdvOfficeRadioGroup::SetIsReadOnly(bool value) {
    FIsReadOnly = value;
    ArrangeButtons();
}

Integer TCustomAdvOfficeRadioGroup::XYToItem(Integer x, Integer y) {
    return ItemAt(FButtons, x, y);
}

void TCustomAdvOfficeRadioGroup::UpdateButtons() {
    if (FReading)
        return;
    Integer count = FItems->Count();
    if (FItemIndex >= count)
        FItemIndex = count - 1;
    while (ButtonCount() < count)
        TAdvGroupButton::InternalCreate(this);
    while (ButtonCount() > count)
        delete FButtons.back();
    for (Integer i = 0; i < count; ++i)
        FButtons[static_cast<size_t>(i)]->SetCaption(FItems->Strings(i));
    if (FItemIndex >= 0) {
        FUpdating = true;
        FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(true);
        FUpdating = false;
    }
    ArrangeButtons();
    Invalidate();
}

void TCustomAdvOfficeRadioGroup::ArrangeButtons() {
    if (ComponentState().Contains(csLoading) || !HandleAllocated() || FButtons.empty() || FReading)
        return;
    for (Integer i = 0; i < ButtonCount(); ++i) {
        TAdvGroupButton* button = FButtons[static_cast<size_t>(i)];
        ApplyItemSettings(button);
        button->SetTabStop(TabStop());
        bool enabled = Enabled() && !FIsReadOnly;
        if (OnIsEnabled)
            OnIsEnabled(this, i, enabled);
        button->SetEnabled(enabled);
    }
    PlaceItems(this, FButtons, FColumns, FControlIndent);
}

void TCustomAdvOfficeRadioGroup::ButtonClick(TObject* sender) {
    if (FUpdating || !AllowItemChange())
        return;
    FItemIndex = IndexOf(FButtons, sender);
    Changed();
    Click();
}

void TCustomAdvOfficeRadioGroup::Loaded() {
    TAdvOfficeButtonGroup::Loaded();
    ArrangeButtons();
}

void TCustomAdvOfficeRadioGroup::CreateWnd() {
    TAdvOfficeButtonGroup::CreateWnd();
    ArrangeButtons();
}

void TCustomAdvOfficeRadioGroup::CMEnabledChanged(TMessage& message) {
    TAdvGroupBox::CMEnabledChanged(message);
    if (CheckBox()->Visible() && !CheckBox()->Checked())
        return;
    for (TAdvGroupButton* button : FButtons)
        button->SetEnabled(Enabled());
}

void TCustomAdvOfficeRadioGroup::DoEnter() {
    TAdvGroupBox::DoEnter();
    // Only the group's own focus moves on to an item: focus that goes to an item passes the group on
    // its way, and must stay where the user put it.
    if (!Focused())
        return;
    if (FFocusButtonIdx >= 0 && FFocusButtonIdx < ButtonCount()) {
        TAdvGroupButton* button = FButtons[static_cast<size_t>(FFocusButtonIdx)];
        if (button->HandleAllocated() && button->CanFocus())
            button->SetFocus();
    }
    Invalidate();
}

// ======== The check group ========

TGroupCheck* TGroupCheck::InternalCreate(TCustomAdvOfficeCheckGroup* checkGroup) {
    auto* check = new TGroupCheck(checkGroup);
    check->FGroup = checkGroup;
    checkGroup->FButtons.push_back(check);
    check->SetVisible(false);
    check->SetEnabled(checkGroup->Enabled());
    check->SetParentShowHint(false);
    check->OnClick = [checkGroup](TObject* sender) { checkGroup->ButtonClick(sender); };
    check->OnEnter = [checkGroup](TObject*) {
        for (Integer i = 0; i < checkGroup->ButtonCount(); ++i)
            if (checkGroup->FButtons[static_cast<size_t>(i)]->Focused())
                checkGroup->FFocusButtonIdx = i;
    };
    check->SetParent(checkGroup);
    return check;
}

TGroupCheck::~TGroupCheck() {
    if (FGroup != nullptr)
        std::erase(FGroup->FButtons, this);
}

void TGroupCheck::KeyDown(Word& key, TShiftState shift) {
    TAdvOfficeCheckBox::KeyDown(key, shift);
    if (FGroup != nullptr)
        FGroup->PushKeyDown(key, shift);
}

void TGroupCheck::KeyPress(Char& key) {
    if (FGroup != nullptr) {
        FGroup->PushKey(key);
        if ((key == VK_BACK || key == u' ') && !FGroup->AllowItemChange())
            key = 0;
    }
    TAdvOfficeCheckBox::KeyPress(key);
}

void TGroupCheck::MouseMove(TShiftState shift, int x, int y) {
    TAdvOfficeCheckBox::MouseMove(shift, x, y);
    if (FGroup != nullptr && FGroup->OnMouseMove)
        FGroup->OnMouseMove(FGroup, shift, x + Left(), y + Top());
}

void TGroupCheck::WndProc(TMessage& message) {
    ItemCommand(this, FInClick, FGroup == nullptr || FGroup->AllowItemChange(), message,
                [this](TMessage& m) { TAdvOfficeCheckBox::WndProc(m); });
}

TCustomAdvOfficeCheckGroup::TCustomAdvOfficeCheckGroup(TComponent* owner) : TAdvOfficeButtonGroup(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
}

TCustomAdvOfficeCheckGroup::~TCustomAdvOfficeCheckGroup() {
    while (!FButtons.empty())
        delete FButtons.back();
    FItems->OnChange = nullptr;
}

bool TCustomAdvOfficeCheckGroup::GetChecked(Integer index) {
    if (index < 0 || index >= ButtonCount())
        throw Exception(u"Invalid checkbox index");
    return FButtons[static_cast<size_t>(index)]->GetChecked();
}

void TCustomAdvOfficeCheckGroup::SetChecked(Integer index, bool value) {
    if (index < 0 || index >= ButtonCount())
        return;
    TGroupCheck* item = FButtons[static_cast<size_t>(index)];
    item->FInternalClick = true;
    item->SetChecked(value);
    item->FInternalClick = false;
}

bool TCustomAdvOfficeCheckGroup::GetReadOnly(Integer index) {
    if (index < 0 || index >= ButtonCount())
        throw Exception(u"Invalid checkbox index");
    return !FButtons[static_cast<size_t>(index)]->Enabled();
}

void TCustomAdvOfficeCheckGroup::SetReadOnly(Integer index, bool value) {
    if (index < 0 || index >= ButtonCount())
        return;
    FButtons[static_cast<size_t>(index)]->SetEnabled(!value);
}

void TCustomAdvOfficeCheckGroup::SetValue(Int64 value) {
    FValue = value;
    Integer count = std::min<Integer>(ButtonCount(), 64);
    for (Integer i = 0; i < count; ++i)
        FButtons[static_cast<size_t>(i)]->SetChecked(((static_cast<UInt64>(value) >> i) & 1) != 0);
}

void TCustomAdvOfficeCheckGroup::UpdateValue() {
    // Only the first 32 items count, while Value itself writes 64; kept as it is on purpose.
    FValue = 0;
    Integer count = std::min<Integer>(ButtonCount(), 32);
    for (Integer i = 0; i < count; ++i)
        if (FButtons[static_cast<size_t>(i)]->GetChecked())
            FValue |= Int64(1) << i;
}

void TCustomAdvOfficeCheckGroup::SetEllipsis(bool value) {
    if (value == FEllipsis)
        return;
    FEllipsis = value;
    ArrangeButtons();
}

void TCustomAdvOfficeCheckGroup::SetShadowColor(TColor value) {
    if (value == FShadowColor)
        return;
    FShadowColor = value;
    ArrangeButtons();
}

void TCustomAdvOfficeCheckGroup::SetShadowOffset(Integer value) {
    if (value == FShadowOffset)
        return;
    FShadowOffset = value;
    ArrangeButtons();
}

Integer TCustomAdvOfficeCheckGroup::XYToItem(Integer x, Integer y) {
    return ItemAt(FButtons, x, y);
}

void TCustomAdvOfficeCheckGroup::UpdateButtons() {
    if (FReading)
        return;
    Integer count = FItems->Count();
    while (ButtonCount() < count)
        TGroupCheck::InternalCreate(this);
    while (ButtonCount() > count)
        delete FButtons.back();
    for (Integer i = 0; i < count; ++i) {
        FButtons[static_cast<size_t>(i)]->SetCaption(FItems->Strings(i));
        FButtons[static_cast<size_t>(i)]->SetTag(i);
    }
    ArrangeButtons();
    Invalidate();
}

void TCustomAdvOfficeCheckGroup::ArrangeButtons() {
    if (FButtons.empty() || FReading)
        return;
    for (Integer i = 0; i < ButtonCount(); ++i) {
        TGroupCheck* check = FButtons[static_cast<size_t>(i)];
        ApplyItemSettings(check);
        bool enabled = Enabled();
        if (OnIsEnabled)
            OnIsEnabled(this, i, enabled);
        check->SetEnabled(enabled);
    }
    PlaceItems(this, FButtons, FColumns, FControlIndent);
    for (TGroupCheck* check : FButtons)
        check->SetVisible(true);
}

void TCustomAdvOfficeCheckGroup::ButtonClick(TObject* sender) {
    Changed();
    Click();
    if (auto* check = dynamic_cast<TGroupCheck*>(sender))
        DoCheckBoxItemClick(static_cast<Integer>(check->Tag()), check->GetChecked());
    UpdateValue();
}

void TCustomAdvOfficeCheckGroup::DoCheckBoxItemClick(Integer index, bool value) {
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, index, value);
}

void TCustomAdvOfficeCheckGroup::ApplyCheckBoxAction() {
    if (ComponentState().Contains(csDesigning) || !Enabled() || !CheckBox()->Visible() ||
        CheckBox()->State() == cbGrayed)
        return;
    if (CheckBox()->Action() != AdvGroupBox::caCheckAll)
        return;
    for (Integer i = 0; i < ButtonCount(); ++i)
        SetChecked(i, CheckBox()->State() == cbChecked);
}

void TCustomAdvOfficeCheckGroup::DoCheckBoxClick() {
    TAdvGroupBox::DoCheckBoxClick();
    if (OnGroupCheckClick)
        OnGroupCheckClick(this);
}

void TCustomAdvOfficeCheckGroup::Loaded() {
    TAdvOfficeButtonGroup::Loaded();
    ArrangeButtons();
    // After loading the items follow the mask, which is 0 unless code set it.
    SetValue(FValue);
}

void TCustomAdvOfficeCheckGroup::CMEnabledChanged(TMessage& message) {
    TAdvGroupBox::CMEnabledChanged(message);
    if (CheckBox()->Visible() && !CheckBox()->Checked())
        return;
    for (TGroupCheck* check : FButtons)
        check->SetEnabled(Enabled());
}

void TCustomAdvOfficeCheckGroup::DoEnter() {
    TAdvGroupBox::DoEnter();
    // As in the radio group, only the group's own focus moves on to an item.
    if (!Focused())
        return;
    if (FFocusButtonIdx >= 0 && FFocusButtonIdx < ButtonCount() &&
        !FButtons[static_cast<size_t>(FFocusButtonIdx)]->Enabled()) {
        Integer first = -1;
        for (Integer i = 0; i < ButtonCount() && first < 0; ++i)
            if (FButtons[static_cast<size_t>(i)]->Enabled())
                first = i;
        if (first < 0)
            return;
        FFocusButtonIdx = first;
    }
    if (FFocusButtonIdx >= 0 && FFocusButtonIdx < ButtonCount()) {
        TGroupCheck* check = FButtons[static_cast<size_t>(FFocusButtonIdx)];
        if (check->HandleAllocated() && check->CanFocus())
            check->SetFocus();
    }
    Invalidate();
}

void AdvOfficeButtonsUnitStartup() {
    static const bool started = [] {
        AdvGroupBoxUnitStartup();
        try {
            for (TClass aClass : {TAdvOfficeCheckBox::StaticClass(), TAdvOfficeRadioButton::StaticClass(),
                                  TAdvOfficeCheckGroup::StaticClass(), TAdvOfficeRadioGroup::StaticClass()})
                RegisterClass(aClass);
        } catch (const Exception&) {
        }
        return true;
    }();
    (void)started;
}
