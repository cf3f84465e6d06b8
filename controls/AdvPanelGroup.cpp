// The caption panel's side of panel groups: telling the group of changes and joining it at window
// creation.
#include "controls/AdvPanel.h"

void TCustomAdvPanel::Synchronize() {
    // FIXME: a panel inside a panel group tells the group (ChildPanelChanged); there are no groups yet.
}

void TCustomAdvPanel::CreateWnd() {
    // FIXME: a panel inside a panel group takes the group's settings when its window is created.
    TCustomPanel::CreateWnd();
}
