// The Setup window and the serial settings of the port to the master.
#include "app/Setup.h"

#include "app/Main.h"
#include "platform/rtl/PropertyInfo.h"

TForm2* Form2 = nullptr;

DEFINE_CLASS(TForm2, METHOD(FormCreate), METHOD(FormClose), METHOD(VirtualPortClick), METHOD(StoreClick),
             METHOD(VrShadowButton1Click), METHOD(ComPort1RxChar), FIELD(VirtualPort), FIELD(VrShadowButton1),
             FIELD(Store), FIELD(ComPort1))

void TForm2::FormCreate(TObject*) {
    ComPort1->LoadSettings(stRegistry, kComportSettingsPath);
}

void TForm2::FormClose(TObject*, TCloseAction&) {
    ComPort1->StoreSettings(stRegistry, kComportSettingsPath);
}

void TForm2::VirtualPortClick(TObject*) {
    ComPort1->ShowSetupDialog();
}

void TForm2::StoreClick(TObject*) {
    ComPort1->StoreSettings(stRegistry, kComportSettingsPath);
}

// The button is disabled in the window's description; it has nothing to do.
void TForm2::VrShadowButton1Click(TObject*) {}

void TForm2::ComPort1RxChar(TObject*, Integer) {
    // A frame is read 100 ms after the first bytes that follow the previous read; enabling a running
    // timer does not restart it.
    Main->UsbTimer->SetEnabled(true);
}
