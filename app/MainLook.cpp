// The main window's instrument controls: the connection LED and the connect button.
#include "app/Main.h"

#include "controls/VrButtons.h"
#include "controls/VrLeds.h"

void TMain::ShowConnectState(bool connected) {
    SetConnectLed(connected);
    auto* button = static_cast<TVrShadowButton*>(Conect);
    button->SetCaption(connected ? u"Connected" : u"DisConnected");
    // Framework colour values: green when connected, maroon when not.
    button->Brush()->SetColor(connected ? 0x008000 : 0x000080);
}

void TMain::SetConnectLed(bool on) {
    static_cast<TVrUserLed*>(LedConnect)->SetActive(on);
}

void RegisterInstrumentClasses() {
    VrButtonsStartup();
    VrLedsStartup();
}
