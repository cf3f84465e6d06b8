// The typed edit's auto-complete list and its history.
#include "controls/AdvEdit.h"

// FIXME: the lookup list, its history and its storage are not built yet; the edit never shows a list.
bool TAdvEdit::LookupVisible() const {
    return false;
}

// FIXME: matching the typed text against the lookup entries.
void TAdvEdit::UpdateLookup() {}

// FIXME: hiding the lookup list.
void TAdvEdit::HideLookup() {}

// FIXME: taking the selected lookup entry into the value.
void TAdvEdit::AcceptLookup() {}

// FIXME: adding a value to the lookup history.
void TAdvEdit::AddToHistory(const String&) {}
