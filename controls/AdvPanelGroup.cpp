// Panel groups: a caption panel that stacks its child caption panels and scrolls them, and the caption
// panel's side of it (telling the group of changes, design-time placement).
#include "controls/AdvPanel.h"

#include <algorithm>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"

using namespace AdvPanel;

DEFINE_CLASS(TAdvPanelGroup, PROPERTY(Columns).Default(1), PROPERTY(DefaultPanel),
             PROPERTY(GroupStyle).Default(gsVertical), PROPERTY(HorzPadding).Default(8),
             PROPERTY(MouseWheelDelta).Default(0), PROPERTY(ScrollSmooth).Default(false),
             PROPERTY(VertPadding).Default(8), EVENT(OnArrangedControls))

// ---- The caption panel's side ----

void TCustomAdvPanel::Synchronize() {
    if (auto* group = dynamic_cast<TAdvPanelGroup*>(Parent()))
        group->ChildPanelChanged(this);
}

void TCustomAdvPanel::CreateWnd() {
    TCustomPanel::CreateWnd();
    auto* group = dynamic_cast<TAdvPanelGroup*>(Parent());
    if (group == nullptr || !Designing())
        return;
    // A panel dropped into a group at design time takes the group's width (or height) at once.
    if (group->GroupStyle() == gsVertical) {
        SetWidth(group->Width() - 2 * group->HorzPadding());
        SetLeft(group->HorzPadding());
        SetTop(std::max(Top(), group->VertPadding()));
    } else {
        SetHeight(group->Height() - 2 * group->HorzPadding());
        SetTop(group->VertPadding());
        SetLeft(std::max(Left(), group->HorzPadding()));
    }
}

// ---- Construction ----

TAdvPanelGroup::TAdvPanelGroup(TComponent* owner)
    : TAdvPanel(owner), FScrollBar(std::make_unique<TScrollBar>(nullptr)),
      FDefaultPanel(std::make_unique<TAdvPanelSettings>()) {
    FControlStyle += TControlStyle{csAcceptsControls};
    FControlStyle -= TControlStyle{csSetCaption};
    SetDoubleBuffered(!IsVistaOrLater());
    FScrollBar->SetParent(this);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetAlign(alRight);
    FScrollBar->SetPosition(0);
    FScrollBar->SetVisible(false);
    FScrollBar->SetLargeChange(20);
    FScrollBar->SetSmallChange(2);
    FScrollBar->SetTabStop(false);
    FScrollBar->OnScroll = [this](TObject* sender, TScrollCode code, int& position) {
        ScrollBarScroll(sender, code, position);
    };
}

TAdvPanelGroup::~TAdvPanelGroup() {
    // Each panel leaves the list through its free notification as it goes.
    while (!FPanels.empty()) {
        TCustomAdvPanel* panel = FPanels.back();
        FPanels.pop_back();
        panel->Free();
    }
}

void TAdvPanelGroup::Register(TCustomAdvPanel* panel) {
    panel->FreeNotification(this);
}

void TAdvPanelGroup::Notification(TComponent* component, TOperation operation) {
    // A panel freed by other means (its close button, Free) must not stay listed. The notice comes
    // from deep in its destructor, so the entry is found by address, not by class.
    if (operation == opRemove)
        std::erase_if(FPanels, [component](TCustomAdvPanel* panel) {
            return static_cast<TComponent*>(panel) == component;
        });
    TAdvPanel::Notification(component, operation);
}

// ---- Properties ----

void TAdvPanelGroup::SetHorzPadding(Integer value) {
    if (FHorzPadding == value)
        return;
    FHorzPadding = value;
    DoArrange();
}

void TAdvPanelGroup::SetVertPadding(Integer value) {
    if (FVertPadding == value)
        return;
    FVertPadding = value;
    DoArrange();
}

void TAdvPanelGroup::SetGroupStyle(TGroupStyle value) {
    if (FGroupStyle == value)
        return;
    FGroupStyle = value;
    UpdateScrollBar();
    DoArrange();
}

void TAdvPanelGroup::SetColumns(Integer value) {
    if (value < 1)
        return;
    FColumns = value;
    UpdateScrollBar();
    DoArrange();
    UpdateScrollBar();
}

void TAdvPanelGroup::SetMouseWheelDelta(Integer value) {
    FMouseWheelDelta = value;
    FScrollBar->SetSmallChange(value);
}

Integer TAdvPanelGroup::ScrollPosition() const {
    return FScrollBar->Position();
}

void TAdvPanelGroup::SetScrollPosition(Integer value) {
    FScrollBar->SetPosition(value);
    int position = FScrollBar->Position();
    ScrollBarScroll(FScrollBar.get(), scEndScroll, position);
}

TCustomAdvPanel* TAdvPanelGroup::Panels(Integer index) const {
    if (index < 0 || index >= PanelCount())
        TList::Error(Consts::SListIndexError, index);
    return FPanels[static_cast<size_t>(index)];
}

void TAdvPanelGroup::SetPanels(Integer index, TCustomAdvPanel* panel) {
    Panels(index)->Assign(panel);
}

// ---- Building the list ----

std::vector<TCustomAdvPanel*> TAdvPanelGroup::ChildPanels() const {
    std::vector<TCustomAdvPanel*> panels;
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomAdvPanel*>(Controls(i)))
            panels.push_back(panel);
    return panels;
}

void TAdvPanelGroup::InitPanels() {
    FPanels = ChildPanels();
    for (size_t i = 0; i < FPanels.size(); ++i) {
        FPanels[i]->SetIndex(static_cast<Integer>(i));
        Register(FPanels[i]);
    }
}

TCustomAdvPanel* TAdvPanelGroup::NewStyledPanel() {
    auto* panel = new TAdvPanel(this);
    panel->SetParent(this);
    panel->AssignSettings(FDefaultPanel.get());
    TPanelCaption* caption = FDefaultPanel->Caption();
    panel->Caption()->SetVisible(caption->Visible());
    panel->Caption()->SetMinMaxButton(caption->MinMaxButton());
    panel->Caption()->SetCloseButton(caption->CloseButton());
    Register(panel);
    return panel;
}

TCustomAdvPanel* TAdvPanelGroup::AddPanel() {
    TCustomAdvPanel* panel = NewStyledPanel();
    panel->SetIndex(PanelCount());
    FPanels.push_back(panel);
    UpdateScrollBar();
    DoArrange();
    UpdateScrollBar();
    return panel;
}

TCustomAdvPanel* TAdvPanelGroup::AppendPanel() {
    TCustomAdvPanel* panel = AddPanel();
    if (PanelCount() > 1)
        MoveListPanel(PanelCount() - 1, 0);
    return panel;
}

TCustomAdvPanel* TAdvPanelGroup::InsertPanel(Integer index) {
    if (index < 0 || index > PanelCount())
        TList::Error(Consts::SListIndexError, index);
    TCustomAdvPanel* panel = NewStyledPanel();
    FPanels.insert(FPanels.begin() + index, panel);
    for (size_t i = 0; i < FPanels.size(); ++i)
        FPanels[i]->SetIndex(static_cast<Integer>(i));
    UpdateScrollBar();
    DoArrange();
    UpdateScrollBar();
    return panel;
}

void TAdvPanelGroup::RemovePanel(Integer index) {
    if (index < 0 || index >= PanelCount())
        return;
    TCustomAdvPanel* panel = FPanels[static_cast<size_t>(index)];
    FPanels.erase(FPanels.begin() + index);
    panel->Free();
    for (size_t i = 0; i < FPanels.size(); ++i)
        FPanels[i]->SetIndex(static_cast<Integer>(i));
    DoArrange();
}

void TAdvPanelGroup::ArrangeByReversedIndex() {
    const Integer n = PanelCount();
    for (Integer i = 0; i < n; ++i)
        FPanels[static_cast<size_t>(i)]->SetIndex(n - i);
    // Runs inside an update bracket too.
    Integer saved = FUpdateCount;
    FUpdateCount = 0;
    ArrangePanels();
    FUpdateCount = saved;
}

void TAdvPanelGroup::MoveListPanel(Integer from, Integer to) {
    const Integer n = PanelCount();
    if (from < 0 || from >= n)
        TList::Error(Consts::SListIndexError, from);
    if (to < 0 || to >= n)
        TList::Error(Consts::SListIndexError, to);
    TCustomAdvPanel* panel = FPanels[static_cast<size_t>(from)];
    FPanels.erase(FPanels.begin() + from);
    FPanels.insert(FPanels.begin() + to, panel);
    ArrangeByReversedIndex();
}

void TAdvPanelGroup::MovePanel(Integer fromIndex, Integer toIndex) {
    const Integer n = PanelCount();
    MoveListPanel(n - fromIndex - 1, n - toIndex - 1);
}

void TAdvPanelGroup::Clear() {
    FPanels.clear();
    for (TCustomAdvPanel* panel : ChildPanels())
        panel->Free();
    UpdateScrollBar();
}

// ---- Updates ----

void TAdvPanelGroup::ArrangePanels() {
    FCode = true;
    DoArrange();
    FCode = false;
}

void TAdvPanelGroup::ChildPanelChanged(TCustomAdvPanel*) {
    UpdateScrollBar();
    DoArrange();
}

void TAdvPanelGroup::UpdateGroup() {
    DoArrange();
    UpdateScrollBar();
    SetHeight(Height() + 1);
    SetHeight(Height() - 1);
}

void TAdvPanelGroup::BeginUpdate() {
    if (HandleAllocated())
        SendMessage(Handle(), WM_SETREDRAW, 0, 0);
    ++FUpdateCount;
}

void TAdvPanelGroup::EndUpdate() {
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount > 0)
        return;
    if (HandleAllocated())
        SendMessage(Handle(), WM_SETREDRAW, 1, 0);
    UpdateScrollBar();
    DoArrange();
    UpdateScrollBar();
}

void TAdvPanelGroup::OpenAllPanels() {
    BeginUpdate();
    for (TCustomAdvPanel* panel : ChildPanels())
        panel->SetCollaps(false);
    EndUpdate();
}

void TAdvPanelGroup::CloseAllPanels() {
    BeginUpdate();
    for (TCustomAdvPanel* panel : ChildPanels())
        panel->SetCollaps(true);
    EndUpdate();
    Repaint();
}

void TAdvPanelGroup::ArrangedControls() {
    if (OnArrangedControls)
        OnArrangedControls(this);
}

void TAdvPanelGroup::StateChanged() {
    DoArrange();
    UpdateScrollBar();
}

// ---- Arranging ----

void TAdvPanelGroup::DoArrange() {
    if (ComponentState().Contains(csLoading) || FIsArranging || FUpdateCount > 0)
        return;
    FIsArranging = true;
    if (FGroupStyle == gsHorizontal)
        ArrangeHorizontal();
    else
        ArrangeVertical();
    FIsArranging = false;
    ArrangedControls();
}

void TAdvPanelGroup::ArrangeVertical() {
    if (FUpdateCount > 0)
        return;
    ++FUpdateCount;
    std::vector<TCustomAdvPanel*> panels = ChildPanels();
    if (FCode)
        std::stable_sort(panels.begin(), panels.end(),
                         [](TCustomAdvPanel* a, TCustomAdvPanel* b) { return a->Index() < b->Index(); });
    else
        std::stable_sort(panels.begin(), panels.end(),
                         [](TCustomAdvPanel* a, TCustomAdvPanel* b) { return a->Top() < b->Top(); });

    const bool barShown = FScrollBar->Visible();
    Integer y = FVertPadding - (barShown ? FScrollBar->Position() : 0);
    if (Caption()->Visible())
        y += Caption()->Height();
    if (FScrollSmooth)
        for (TCustomAdvPanel* panel : panels)
            if (panel->Visible())
                panel->BeginUpdate();

    const Integer sbw = barShown ? FScrollBar->Width() : 0;
    for (size_t i = 0; i < panels.size(); ++i) {
        TCustomAdvPanel* panel = panels[i];
        const Integer column = static_cast<Integer>(i) % FColumns;
        const Integer left = ((Width() - sbw - FHorzPadding) / FColumns) * column + FHorzPadding;
        const Integer width = (Width() - (FColumns + 1) * FHorzPadding - sbw) / FColumns;
        panel->SetBounds(left, y, width, panel->Height());
        // A row advances by the height of its last panel.
        if (panel->Visible() && (static_cast<Integer>(i) + 1) % FColumns == 0)
            y += panel->Height() + FVertPadding;
    }

    for (TCustomAdvPanel* panel : panels) {
        if (FScrollSmooth && panel->Visible())
            panel->EndUpdate();
        panel->Invalidate();
        // Children are laid out again in the panel's new width.
        for (Integer c = 0; c < panel->ControlCount(); ++c) {
            TControl* child = panel->Controls(c);
            auto* windowed = dynamic_cast<TWinControl*>(child);
            if (windowed != nullptr && windowed->Visible() && windowed->ControlCount() == 0 &&
                windowed->HandleAllocated()) {
                SendMessage(windowed->Handle(), WM_SETREDRAW, 0, 0);
                SendMessage(windowed->Handle(), WM_SETREDRAW, 1, 0);
            }
            child->SetWidth(child->Width() + 1);
            child->SetWidth(child->Width() - 1);
        }
    }
    --FUpdateCount;
    Repaint();
}

void TAdvPanelGroup::ArrangeHorizontal() {
    std::vector<TCustomAdvPanel*> panels = ChildPanels();
    std::stable_sort(panels.begin(), panels.end(),
                     [](TCustomAdvPanel* a, TCustomAdvPanel* b) { return a->Left() < b->Left(); });
    const bool barShown = FScrollBar->Visible();
    Integer x = FHorzPadding - (barShown ? FScrollBar->Position() : 0);
    const Integer height = Height() - 2 * FVertPadding - (barShown ? FScrollBar->Height() : 0);
    for (TCustomAdvPanel* panel : panels) {
        panel->SetBounds(x, FVertPadding, panel->Width(), height);
        if (panel->Visible())
            x += panel->Width() + FHorzPadding;
    }
}

void TAdvPanelGroup::UpdateScrollBar() {
    if (FUpdateCount > 0)
        return;
    TScrollBar* bar = FScrollBar.get();
    Integer total = 0;
    Integer extent = 0;
    if (FGroupStyle == gsHorizontal) {
        if (bar->Kind() == sbVertical)
            bar->SetKind(sbHorizontal);
        if (bar->Align() == alRight)
            bar->SetAlign(alBottom);
        bar->SetHeight(16);
        total = FHorzPadding;
        for (TCustomAdvPanel* panel : ChildPanels())
            if (panel->Visible())
                total += panel->Width() + FHorzPadding;
        extent = Width();
    } else {
        if (bar->Kind() == sbHorizontal)
            bar->SetKind(sbVertical);
        if (bar->Align() == alBottom)
            bar->SetAlign(alRight);
        bar->SetWidth(16);
        // Counts the last panel of each row by its place among all the group's children.
        total = FVertPadding;
        for (Integer j = 0; j < ControlCount(); ++j) {
            auto* panel = dynamic_cast<TCustomAdvPanel*>(Controls(j));
            if (panel != nullptr && panel->Visible() && (j + 1) % FColumns == 0)
                total += panel->Height() + FVertPadding;
        }
        extent = Height();
    }
    const bool needed = extent < total && total > 0;
    if (needed) {
        Integer position = std::min(bar->Position(), total);
        bar->SetPageSize(0);
        bar->SetParams(position, bar->Min(), total);
        bar->SetPageSize(extent);
        bar->SetLargeChange(extent / 3);
    }
    bar->SetVisible(needed);
    bar->Repaint();
}

void TAdvPanelGroup::ScrollBarScroll(TObject*, TScrollCode code, int&) {
    if (code != scEndScroll)
        return;
    const Integer limit = FScrollBar->Max() - FScrollBar->PageSize();
    if (FScrollBar->Position() > limit)
        FScrollBar->SetPosition(limit);
    DoArrange();
}

void TAdvPanelGroup::WheelScroll(Integer delta) {
    FScrollBar->SetPosition(FScrollBar->Position() + delta);
    // The layout follows at once, also in the middle of an arrangement.
    if (FGroupStyle == gsHorizontal)
        ArrangeHorizontal();
    else
        ArrangeVertical();
}

bool TAdvPanelGroup::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
    if (!FScrollBar->Visible())
        return TAdvPanel::DoMouseWheelDown(shift, mousePos);
    WheelScroll(2 * FScrollBar->SmallChange());
    return true;
}

bool TAdvPanelGroup::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
    if (!FScrollBar->Visible())
        return TAdvPanel::DoMouseWheelUp(shift, mousePos);
    WheelScroll(-2 * FScrollBar->SmallChange());
    return true;
}

// ---- Framework hooks ----

void TAdvPanelGroup::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    const bool resized = width != FGroupOldWidth || height != FGroupOldHeight;
    TAdvPanel::SetBounds(left, top, width, height);
    if (resized)
        DoArrange();
    FGroupOldWidth = width;
    FGroupOldHeight = height;
}

void TAdvPanelGroup::WMSize(TMessage& message) {
    TAdvPanel::WMSize(message);
    UpdateScrollBar();
}

void TAdvPanelGroup::AlignControls(TControl* control, TRect& rect) {
    TAdvPanel::AlignControls(control, rect);
    UpdateScrollBar();
}

void TAdvPanelGroup::Loaded() {
    TAdvPanel::Loaded();
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
    UpdateScrollBar();
    DoArrange();
    InitPanels();
}

// ---- Stored positions ----

void TAdvPanelGroup::WithGroupPosition(TCustomAdvPanel* panel, bool save) {
    TPanelPosition own(panel);
    own.Assign(panel->Position());
    panel->Position()->Assign(Position());
    panel->Position()->SetSection(panel->Name());
    if (save)
        panel->SavePosition();
    else
        panel->LoadPosition();
    panel->Position()->Assign(&own);
}

void TAdvPanelGroup::LoadPanelPositions() {
    for (TCustomAdvPanel* panel : ChildPanels())
        WithGroupPosition(panel, false);
}

void TAdvPanelGroup::SavePanelPositions() {
    for (TCustomAdvPanel* panel : ChildPanels())
        WithGroupPosition(panel, true);
}
