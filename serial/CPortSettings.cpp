// Storing the port's settings to, and loading them from, a registry key or a section of an INI file,
// as readable texts and integers, group by group as StoredProps chooses.
#include "serial/CPort.h"

#include "platform/rtl/Convert.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysStrings.h"

namespace {

// The first part of the path names the root key; the rest, with the component's name appended, is
// the key opened (created when missing). A path without "\" opens nothing.
void OpenSettingsKey(TRegistry& reg, const String& path, const String& name) {
    const std::size_t separator = path.find(u'\\');
    if (separator == String::npos)
        return;
    const String root = UpperCase(path.substr(0, separator));
    if (root == u"HKEY_LOCAL_MACHINE")
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
    else if (root == u"HKEY_CURRENT_USER")
        reg.SetRootKey(HKEY_CURRENT_USER);
    String key = path.substr(separator + 1);
    if (key.empty() || key.back() != u'\\')
        key += u'\\';
    key += name;
    reg.OpenKey(key, true);
}

} // namespace

void TCustomComPort::StoreSettings(TStoreType storeType, const String& storeTo) {
    try {
        if (storeType == stIniFile) {
            TIniFile iniFile(storeTo);
            SaveToIniFile(iniFile);
        } else {
            TRegistry reg;
            OpenSettingsKey(reg, storeTo, Name());
            SaveToRegistry(reg);
        }
    } catch (...) {
        throw EComPort::CreateNoWinCode(CError_StoreFailed);
    }
}

void TCustomComPort::LoadSettings(TStoreType storeType, const String& loadFrom) {
    try {
        BeginUpdate();
        try {
            if (storeType == stIniFile) {
                TIniFile iniFile(loadFrom);
                ReadFromIniFile(iniFile);
            } else {
                TRegistry reg;
                OpenSettingsKey(reg, loadFrom, Name());
                ReadFromRegistry(reg);
            }
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } catch (...) {
        throw EComPort::CreateNoWinCode(CError_LoadFailed);
    }
}

void TCustomComPort::SaveToRegistry(TRegistry& reg) {
    if (FStoredProps.Contains(spBasic)) {
        reg.WriteString(u"Port", FPort);
        reg.WriteString(u"BaudRate", BaudRateToText(FBaudRate));
        if (FBaudRate == brCustom)
            reg.WriteInteger(u"CustomBaudRate", FCustomBaudRate);
        reg.WriteString(u"StopBits", StopBitsToText(FStopBits));
        reg.WriteString(u"DataBits", DataBitsToText(FDataBits));
        reg.WriteString(u"Parity", ParityToText(FParity->Bits()));
        reg.WriteString(u"FlowControl", FlowControlToText(FFlowControl->FlowControl()));
    }
    if (FStoredProps.Contains(spOthers)) {
        reg.WriteString(u"EventChar", CharToText(FEventChar));
        reg.WriteString(u"DiscardNull", YesNoText(FDiscardNull));
    }
    if (FStoredProps.Contains(spParity)) {
        reg.WriteString(u"Parity.Check", YesNoText(FParity->Check()));
        reg.WriteString(u"Parity.Replace", YesNoText(FParity->Replace()));
        reg.WriteString(u"Parity.ReplaceChar", CharToText(FParity->ReplaceChar()));
    }
    if (FStoredProps.Contains(spBuffer)) {
        reg.WriteInteger(u"Buffer.OutputSize", FBuffer->OutputSize());
        reg.WriteInteger(u"Buffer.InputSize", FBuffer->InputSize());
    }
    if (FStoredProps.Contains(spTimeouts)) {
        reg.WriteInteger(u"Timeouts.ReadInterval", FTimeouts->ReadInterval());
        reg.WriteInteger(u"Timeouts.ReadTotalConstant", FTimeouts->ReadTotalConstant());
        reg.WriteInteger(u"Timeouts.ReadTotalMultiplier", FTimeouts->ReadTotalMultiplier());
        reg.WriteInteger(u"Timeouts.WriteTotalConstant", FTimeouts->WriteTotalConstant());
        reg.WriteInteger(u"Timeouts.WriteTotalMultiplier", FTimeouts->WriteTotalMultiplier());
    }
    if (FStoredProps.Contains(spFlowControl)) {
        reg.WriteString(u"FlowControl.ControlRTS", RTSControlToText(FFlowControl->ControlRTS()));
        reg.WriteString(u"FlowControl.ControlDTR", DTRControlToText(FFlowControl->ControlDTR()));
        reg.WriteString(u"FlowControl.DSRSensitivity", YesNoText(FFlowControl->DSRSensitivity()));
        reg.WriteString(u"FlowControl.OutCTSFlow", YesNoText(FFlowControl->OutCTSFlow()));
        reg.WriteString(u"FlowControl.OutDSRFlow", YesNoText(FFlowControl->OutDSRFlow()));
        reg.WriteString(u"FlowControl.TxContinueOnXoff", YesNoText(FFlowControl->TxContinueOnXoff()));
        reg.WriteString(u"FlowControl.XonXoffIn", YesNoText(FFlowControl->XonXoffIn()));
        reg.WriteString(u"FlowControl.XonXoffOut", YesNoText(FFlowControl->XonXoffOut()));
        reg.WriteString(u"FlowControl.XoffChar", CharToText(FFlowControl->XoffChar()));
        reg.WriteString(u"FlowControl.XonChar", CharToText(FFlowControl->XonChar()));
    }
}

void TCustomComPort::SaveToIniFile(TCustomIniFile& iniFile) {
    const String section = Name();
    auto text = [&](const Char* ident, const String& value) { iniFile.WriteString(section, ident, value); };
    auto number = [&](const Char* ident, Integer value) { iniFile.WriteInteger(section, ident, value); };
    if (FStoredProps.Contains(spBasic)) {
        text(u"Port", FPort);
        text(u"BaudRate", BaudRateToText(FBaudRate));
        if (FBaudRate == brCustom)
            number(u"CustomBaudRate", FCustomBaudRate);
        text(u"StopBits", StopBitsToText(FStopBits));
        text(u"DataBits", DataBitsToText(FDataBits));
        text(u"Parity", ParityToText(FParity->Bits()));
        text(u"FlowControl", FlowControlToText(FFlowControl->FlowControl()));
    }
    if (FStoredProps.Contains(spOthers)) {
        text(u"EventChar", CharToText(FEventChar));
        text(u"DiscardNull", YesNoText(FDiscardNull));
    }
    if (FStoredProps.Contains(spParity)) {
        text(u"Parity.Check", YesNoText(FParity->Check()));
        text(u"Parity.Replace", YesNoText(FParity->Replace()));
        text(u"Parity.ReplaceChar", CharToText(FParity->ReplaceChar()));
    }
    if (FStoredProps.Contains(spBuffer)) {
        number(u"Buffer.OutputSize", FBuffer->OutputSize());
        number(u"Buffer.InputSize", FBuffer->InputSize());
    }
    if (FStoredProps.Contains(spTimeouts)) {
        number(u"Timeouts.ReadInterval", FTimeouts->ReadInterval());
        number(u"Timeouts.ReadTotalConstant", FTimeouts->ReadTotalConstant());
        number(u"Timeouts.ReadTotalMultiplier", FTimeouts->ReadTotalMultiplier());
        number(u"Timeouts.WriteTotalConstant", FTimeouts->WriteTotalConstant());
        number(u"Timeouts.WriteTotalMultiplier", FTimeouts->WriteTotalMultiplier());
    }
    if (FStoredProps.Contains(spFlowControl)) {
        text(u"FlowControl.ControlRTS", RTSControlToText(FFlowControl->ControlRTS()));
        text(u"FlowControl.ControlDTR", DTRControlToText(FFlowControl->ControlDTR()));
        text(u"FlowControl.DSRSensitivity", YesNoText(FFlowControl->DSRSensitivity()));
        text(u"FlowControl.OutCTSFlow", YesNoText(FFlowControl->OutCTSFlow()));
        text(u"FlowControl.OutDSRFlow", YesNoText(FFlowControl->OutDSRFlow()));
        text(u"FlowControl.TxContinueOnXoff", YesNoText(FFlowControl->TxContinueOnXoff()));
        text(u"FlowControl.XonXoffIn", YesNoText(FFlowControl->XonXoffIn()));
        text(u"FlowControl.XonXoffOut", YesNoText(FFlowControl->XonXoffOut()));
        text(u"FlowControl.XoffChar", CharToText(FFlowControl->XoffChar()));
        text(u"FlowControl.XonChar", CharToText(FFlowControl->XonChar()));
    }
}

// Values go through the property setters: a new Port on an open port reopens it at once, the rest is
// applied at the EndUpdate of LoadSettings.
void TCustomComPort::ReadFromRegistry(TRegistry& reg) {
    if (FStoredProps.Contains(spBasic)) {
        SetPort(reg.ReadString(u"Port"));
        SetBaudRate(TextToBaudRate(reg.ReadString(u"BaudRate")));
        if (FBaudRate == brCustom)
            SetCustomBaudRate(reg.ReadInteger(u"CustomBaudRate"));
        SetStopBits(TextToStopBits(reg.ReadString(u"StopBits")));
        SetDataBits(TextToDataBits(reg.ReadString(u"DataBits")));
        FParity->SetBits(TextToParity(reg.ReadString(u"Parity")));
        FFlowControl->SetFlowControl(TextToFlowControl(reg.ReadString(u"FlowControl")));
    }
    if (FStoredProps.Contains(spOthers)) {
        SetEventChar(TextToChar(reg.ReadString(u"EventChar")));
        SetDiscardNull(IsYesText(reg.ReadString(u"DiscardNull")));
    }
    if (FStoredProps.Contains(spParity)) {
        FParity->SetCheck(IsYesText(reg.ReadString(u"Parity.Check")));
        FParity->SetReplace(IsYesText(reg.ReadString(u"Parity.Replace")));
        FParity->SetReplaceChar(TextToChar(reg.ReadString(u"Parity.ReplaceChar")));
    }
    if (FStoredProps.Contains(spBuffer)) {
        FBuffer->SetOutputSize(reg.ReadInteger(u"Buffer.OutputSize"));
        FBuffer->SetInputSize(reg.ReadInteger(u"Buffer.InputSize"));
    }
    if (FStoredProps.Contains(spTimeouts)) {
        FTimeouts->SetReadInterval(reg.ReadInteger(u"Timeouts.ReadInterval"));
        FTimeouts->SetReadTotalConstant(reg.ReadInteger(u"Timeouts.ReadTotalConstant"));
        FTimeouts->SetReadTotalMultiplier(reg.ReadInteger(u"Timeouts.ReadTotalMultiplier"));
        FTimeouts->SetWriteTotalConstant(reg.ReadInteger(u"Timeouts.WriteTotalConstant"));
        FTimeouts->SetWriteTotalMultiplier(reg.ReadInteger(u"Timeouts.WriteTotalMultiplier"));
    }
    if (FStoredProps.Contains(spFlowControl)) {
        FFlowControl->SetControlRTS(TextToRTSControl(reg.ReadString(u"FlowControl.ControlRTS")));
        FFlowControl->SetControlDTR(TextToDTRControl(reg.ReadString(u"FlowControl.ControlDTR")));
        FFlowControl->SetDSRSensitivity(IsYesText(reg.ReadString(u"FlowControl.DSRSensitivity")));
        FFlowControl->SetOutCTSFlow(IsYesText(reg.ReadString(u"FlowControl.OutCTSFlow")));
        FFlowControl->SetOutDSRFlow(IsYesText(reg.ReadString(u"FlowControl.OutDSRFlow")));
        FFlowControl->SetTxContinueOnXoff(IsYesText(reg.ReadString(u"FlowControl.TxContinueOnXoff")));
        FFlowControl->SetXonXoffIn(IsYesText(reg.ReadString(u"FlowControl.XonXoffIn")));
        FFlowControl->SetXonXoffOut(IsYesText(reg.ReadString(u"FlowControl.XonXoffOut")));
        FFlowControl->SetXoffChar(TextToChar(reg.ReadString(u"FlowControl.XoffChar")));
        FFlowControl->SetXonChar(TextToChar(reg.ReadString(u"FlowControl.XonChar")));
    }
}

// A missing entry keeps the current value (its text is the default), except CustomBaudRate, whose
// default is 9600.
void TCustomComPort::ReadFromIniFile(TCustomIniFile& iniFile) {
    const String section = Name();
    auto text = [&](const Char* ident, const String& current) {
        return iniFile.ReadString(section, ident, current);
    };
    auto number = [&](const Char* ident, Integer current) {
        return iniFile.ReadInteger(section, ident, current);
    };
    if (FStoredProps.Contains(spBasic)) {
        SetPort(text(u"Port", FPort));
        SetBaudRate(TextToBaudRate(text(u"BaudRate", BaudRateToText(FBaudRate))));
        if (FBaudRate == brCustom)
            SetCustomBaudRate(number(u"CustomBaudRate", 9600));
        SetStopBits(TextToStopBits(text(u"StopBits", StopBitsToText(FStopBits))));
        SetDataBits(TextToDataBits(text(u"DataBits", DataBitsToText(FDataBits))));
        FParity->SetBits(TextToParity(text(u"Parity", ParityToText(FParity->Bits()))));
        FFlowControl->SetFlowControl(
            TextToFlowControl(text(u"FlowControl", FlowControlToText(FFlowControl->FlowControl()))));
    }
    if (FStoredProps.Contains(spOthers)) {
        SetEventChar(TextToChar(text(u"EventChar", CharToText(FEventChar))));
        SetDiscardNull(IsYesText(text(u"DiscardNull", YesNoText(FDiscardNull))));
    }
    if (FStoredProps.Contains(spParity)) {
        FParity->SetCheck(IsYesText(text(u"Parity.Check", YesNoText(FParity->Check()))));
        FParity->SetReplace(IsYesText(text(u"Parity.Replace", YesNoText(FParity->Replace()))));
        FParity->SetReplaceChar(TextToChar(text(u"Parity.ReplaceChar", CharToText(FParity->ReplaceChar()))));
    }
    if (FStoredProps.Contains(spBuffer)) {
        FBuffer->SetOutputSize(number(u"Buffer.OutputSize", FBuffer->OutputSize()));
        FBuffer->SetInputSize(number(u"Buffer.InputSize", FBuffer->InputSize()));
    }
    if (FStoredProps.Contains(spTimeouts)) {
        FTimeouts->SetReadInterval(number(u"Timeouts.ReadInterval", FTimeouts->ReadInterval()));
        FTimeouts->SetReadTotalConstant(
            number(u"Timeouts.ReadTotalConstant", FTimeouts->ReadTotalConstant()));
        FTimeouts->SetReadTotalMultiplier(
            number(u"Timeouts.ReadTotalMultiplier", FTimeouts->ReadTotalMultiplier()));
        FTimeouts->SetWriteTotalConstant(
            number(u"Timeouts.WriteTotalConstant", FTimeouts->WriteTotalConstant()));
        FTimeouts->SetWriteTotalMultiplier(
            number(u"Timeouts.WriteTotalMultiplier", FTimeouts->WriteTotalMultiplier()));
    }
    if (FStoredProps.Contains(spFlowControl)) {
        TComFlowControl& flow = *FFlowControl;
        flow.SetControlRTS(
            TextToRTSControl(text(u"FlowControl.ControlRTS", RTSControlToText(flow.ControlRTS()))));
        flow.SetControlDTR(
            TextToDTRControl(text(u"FlowControl.ControlDTR", DTRControlToText(flow.ControlDTR()))));
        flow.SetDSRSensitivity(
            IsYesText(text(u"FlowControl.DSRSensitivity", YesNoText(flow.DSRSensitivity()))));
        flow.SetOutCTSFlow(IsYesText(text(u"FlowControl.OutCTSFlow", YesNoText(flow.OutCTSFlow()))));
        flow.SetOutDSRFlow(IsYesText(text(u"FlowControl.OutDSRFlow", YesNoText(flow.OutDSRFlow()))));
        flow.SetTxContinueOnXoff(
            IsYesText(text(u"FlowControl.TxContinueOnXoff", YesNoText(flow.TxContinueOnXoff()))));
        flow.SetXonXoffIn(IsYesText(text(u"FlowControl.XonXoffIn", YesNoText(flow.XonXoffIn()))));
        flow.SetXonXoffOut(IsYesText(text(u"FlowControl.XonXoffOut", YesNoText(flow.XonXoffOut()))));
        flow.SetXoffChar(TextToChar(text(u"FlowControl.XoffChar", CharToText(flow.XoffChar()))));
        flow.SetXonChar(TextToChar(text(u"FlowControl.XonChar", CharToText(flow.XonChar()))));
    }
}
