// The main window's working road: connecting to the master, polling it, reading and showing module
// frames, and the watchdog that unticks modules that fell silent.
#include "app/Main.h"

#include "app/Setup.h"
#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// Texts of the modules' addresses in a frame, module 1 first.
const String kModuleAddresses[kModuleCount] = {u"26 42", u"26 43", u"26 44", u"26 45", u"26 46"};
constexpr Integer kNoStrength = -64; // the master's "no reading"

} // namespace

DecodedFrame DecodeFrame(const Byte (&frame)[kFrameSize]) {
    DecodedFrame decoded;
    for (std::size_t k = 0; k < decoded.values.size(); ++k)
        decoded.values[k] = frame[2 * k] * 256 + frame[2 * k + 1];
    decoded.network = frame[30];
    decoded.module = frame[31];
    decoded.sequence = frame[32];
    decoded.checksum = frame[36];
    for (int i = 0; i <= 35; ++i)
        decoded.computedChecksum = static_cast<Byte>(decoded.computedChecksum ^ frame[i]);
    decoded.strength = static_cast<std::int16_t>(static_cast<std::uint16_t>(frame[37] * 256 + frame[39]));
    return decoded;
}

String TenthsToText(Integer tenths) {
    // What FloatToStr gives for tenths / 10, built without the float conversion, which would cost the
    // frame reader most of its time: the whole part, then the decimal separator and the tenth unless it
    // is 0.
    String text = IntToStr(tenths / 10);
    if (tenths % 10 != 0) {
        text += FormatSettings.DecimalSeparator;
        text += static_cast<Char>(u'0' + tenths % 10);
    }
    return text;
}

int ModuleOfAddress(const String& address) {
    for (int m = 1; m <= kModuleCount; ++m)
        if (address == kModuleAddresses[m - 1])
            return m;
    return 0;
}

void TMain::SetModuleTick(int m, bool on) {
    Modules->SetChecked(m - 1, on);
}

void TMain::ConectClick(TObject*) {
    TComPort* port = Form2->ComPort1;
    try {
        if (port->Connected()) {
            port->Close();
            ShowConnectState(false);
            for (int m = 1; m <= kModuleCount; ++m)
                for (int r = 1; r <= kDataRows; ++r)
                    Module(m).data->SetCells(1, r, u"0");
            CmdMaster->SetEnabled(false);
            MeasureTimer->SetEnabled(false);
            for (int m = 1; m <= kModuleCount; ++m) {
                SetModuleTick(m, false);
                Module(m).strength->SetText(String());
            }
            Edit1->SetText(String());
        } else {
            port->Open();
            ShowConnectState(true);
            CmdMaster->SetEnabled(true);
            MeasureTimer->SetEnabled(true);
        }
    } catch (...) {
        ShowMessage(u"Comport is NOT connected ! Atach cable !");
    }
}

void TMain::CmdMasterTimer(TObject*) {
    if (Form2->ComPort1->Connected())
        Form2->ComPort1->WriteStr(u"123|");
}

void TMain::ComPort4RxChar(TObject*, Integer) {
    UsbTimer->SetEnabled(true);
}

void TMain::UsbTimerTimer(TObject*) {
    UsbTimer->SetEnabled(false);
    // One read of what has come; with the port's default time-outs it returns at once, and bytes that
    // did not come stay 0.
    Byte frame[kFrameSize] = {};
    if (Form2->ComPort1->Connected())
        Form2->ComPort1->Read(frame, kFrameSize);
    ShowFrame(frame);
}

void TMain::ShowFrame(const Byte (&frame)[kFrameSize]) {
    const DecodedFrame decoded = DecodeFrame(frame);
    addr5->SetText(IntToStr(Integer(decoded.sequence)));
    addr1->SetText(IntToStr(Integer(decoded.network)) + u" " + IntToStr(Integer(decoded.module)));
    const int m = ModuleOfAddress(addr1->Text());
    if (m == 0)
        return;
    const ModuleControls module = Module(m);
    SetModuleTick(m, true);
    if (decoded.computedChecksum == decoded.checksum) {
        if (decoded.strength != kNoStrength)
            module.strength->SetText(IntToStr(decoded.strength));
        for (int r = 1; r <= kDataRows; ++r)
            module.data->SetCells(1, r, r <= 15 ? TenthsToText(decoded.values[r - 1]) : String(u"0"));
        if (m == 5) {
            addr3->SetText(IntToStr(Integer(decoded.computedChecksum)));
            addr4->SetText(IntToStr(Integer(decoded.checksum)));
        }
    }
    ++con_chk_cnt[m - 1];
    if (m == 5)
        addr5->SetText(IntToStr(Integer(decoded.sequence)));
}

void TMain::ChkConectivityTimer(TObject*) {
    for (int m = 1; m <= kModuleCount; ++m) {
        if (con_chk_cnt[m - 1] > 0) {
            con_chk_cnt[m - 1] = 0;
        } else {
            SetModuleTick(m, false);
            Module(m).strength->SetText(String());
        }
    }
}

// Nothing enables this timer; it keeps its binding.
void TMain::ConnectCheckTimer(TObject*) {}

void TMain::ModulesClick(TObject*) {
    for (int m = 1; m <= kModuleCount; ++m)
        SetModuleTick(m, false);
}
