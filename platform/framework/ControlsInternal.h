// Shared between the parts of the controls' code; not for other code.
#pragma once

class TControl;

// A press on sender tells the focused control of each active form it is in (CM_CANCELMODE, lParam the
// pressed control), so that a control which shows something of its own while focused, such as a dropped
// list, can close it when the user clicks elsewhere.
void SendCancelMode(TControl* sender);
