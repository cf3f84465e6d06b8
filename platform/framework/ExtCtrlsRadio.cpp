// TRadioGroup: a group box whose radio buttons are made from its list of items.
#include "platform/framework/ExtCtrls.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TCustomRadioGroup, PROPERTY(Columns).Default(1), PROPERTY(ItemIndex).Default(-1),
             PROPERTY(Items))
DEFINE_CLASS(TRadioGroup)

// One radio button of a group; its clicks choose its item.
class TGroupButton : public TRadioButton {
    DECLARE_CLASS(TGroupButton, TRadioButton)

public:
    TGroupButton(TCustomRadioGroup* group) : TRadioButton(nullptr), FGroup(group) {}

protected:
    void DoClick() override {
        FGroup->ButtonClick(this);
        TRadioButton::DoClick();
    }

private:
    TCustomRadioGroup* FGroup;
};

DEFINE_CLASS(TGroupButton)

namespace {

// The height of a line in font, on a screen DC: the buttons are placed before the group has a window.
int LineHeight(TFont* font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

} // namespace

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), FItems(std::make_unique<TStringList>()) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csParentBackground};
    FItems->OnChange = [this](TObject* sender) { ItemsChange(sender); };
    SetBounds(0, 0, 185, 105);
}

TCustomRadioGroup::~TCustomRadioGroup() {
    FItems->OnChange = nullptr;
    for (TRadioButton* button : FButtons)
        button->Free();
}

TRadioButton* TCustomRadioGroup::Buttons(Integer index) const {
    if (index < 0 || index >= static_cast<Integer>(FButtons.size()))
        return nullptr;
    return FButtons[static_cast<size_t>(index)];
}

void TCustomRadioGroup::SetColumns(Integer value) {
    value = std::clamp(value, 1, 16);
    if (FColumns == value)
        return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::SetItemIndex(Integer value) {
    if (FReading) {
        FItemIndex = value;
        return;
    }
    value = std::clamp(value, -1, static_cast<Integer>(FButtons.size()) - 1);
    if (FItemIndex == value)
        return;
    if (FItemIndex >= 0)
        FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(false);
    FItemIndex = value;
    // Checking the button clicks it, which fires OnClick as a choice by the user does.
    if (FItemIndex >= 0)
        FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(true);
}

void TCustomRadioGroup::ButtonClick(TRadioButton* button) {
    if (FUpdating)
        return;
    auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end())
        return;
    FItemIndex = static_cast<Integer>(it - FButtons.begin());
    Click();
}

void TCustomRadioGroup::ItemsChange(TObject*) {
    if (FReading)
        return;
    if (FItemIndex >= FItems->Count())
        FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TCustomRadioGroup::SetButtonCount(Integer count) {
    while (static_cast<Integer>(FButtons.size()) < count) {
        auto* button = new TGroupButton(this);
        button->SetParent(this);
        FButtons.push_back(button);
    }
    while (static_cast<Integer>(FButtons.size()) > count) {
        FButtons.back()->Free();
        FButtons.pop_back();
    }
}

void TCustomRadioGroup::UpdateButtons() {
    FUpdating = true;
    SetButtonCount(FItems->Count());
    for (size_t i = 0; i < FButtons.size(); ++i) {
        TRadioButton* button = FButtons[i];
        button->SetCaption(FItems->Strings(static_cast<Integer>(i)));
        button->SetEnabled(Enabled());
        button->SetChecked(static_cast<Integer>(i) == FItemIndex);
    }
    FUpdating = false;
    // With no item chosen the first button is the one Tab reaches.
    if (FItemIndex < 0 && !FButtons.empty())
        FButtons.front()->SetTabStop(true);
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty())
        return;
    int count = static_cast<int>(FButtons.size());
    int perColumn = (count + FColumns - 1) / FColumns;
    int buttonWidth = (Width() - 10) / FColumns;
    int lineHeight = LineHeight(Font());
    int free = Height() - lineHeight - 5;
    int buttonHeight = free / perColumn;
    // The rows share the height below the caption; what does not divide evenly goes half above them.
    int topMargin = lineHeight + 1 + (free % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        int left = (i / perColumn) * buttonWidth + 8;
        int top = (i % perColumn) * buttonHeight + topMargin;
        FButtons[static_cast<size_t>(i)]->SetBounds(left, top, buttonWidth, buttonHeight);
        FButtons[static_cast<size_t>(i)]->SetVisible(true);
    }
}

void TCustomRadioGroup::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    bool resized = width != Width() || height != Height();
    TCustomGroupBox::SetBounds(left, top, width, height);
    if (resized)
        ArrangeButtons();
}

void TCustomRadioGroup::ReadState(TReader* reader) {
    FReading = true;
    TCustomGroupBox::ReadState(reader);
    FReading = false;
    UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    ArrangeButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_ENABLEDCHANGED:
        for (TRadioButton* button : FButtons)
            button->SetEnabled(Enabled());
        break;
    case CM_FONTCHANGED:
        TCustomGroupBox::Dispatch(message);
        ArrangeButtons();
        return;
    default:
        break;
    }
    TCustomGroupBox::Dispatch(message);
}
