// Drop-down lists bound to one setting of a serial port: they list the possible values (the machine's
// ports, or the value texts of a setting), show the port's current value and write a chosen value back.
#pragma once

#include "platform/framework/StdLists.h"
#include "serial/CPort.h"

ZELMOR_ENUM(TComProperty, cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl)

// The pending value of one combo box and the rules that fill its list and move values to and from the
// port. Neither the item list nor the port is owned.
class TComSelect : public TObject {
    DECLARE_CLASS(TComSelect, TObject)

public:
    void SetItems(TStrings* items) { FItems = items; }
    TComProperty ComProperty() const { return FComProperty; }
    // Stores the property and refills the item list with its values.
    void SetComProperty(TComProperty value);
    TCustomComPort* ComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* value) { FComPort = value; }
    bool AutoApply() const { return FAutoApply; }
    void SetAutoApply(bool value) { FAutoApply = value; }
    // Takes text as the pending value; applies it at once when AutoApply is on.
    void Change(const String& text);
    // Writes the pending value to the bound port (nothing without one).
    void ApplySettings();
    // Sets itemIndex to the port's current value in the list (-1 when it is not listed) and, when it is
    // listed, makes it the pending value.
    void UpdateSettings(Integer& itemIndex);

private:
    // Converts text to the pending value of the edited property (unknown texts as the converters say).
    void SetPending(const String& text);
    void SelectPort();
    void SelectBaudRate();
    void SelectDataBits();
    void SelectStopBits();
    void SelectParity();
    void SelectFlowControl();
    // The port's current value of the edited property as its text.
    String PortValueText() const;

    String FPort;
    TBaudRate FBaudRate = br9600;
    TDataBits FDataBits = dbEight;
    TStopBits FStopBits = sbOneStopBit;
    TParityBits FParity = prNone;
    TFlowControl FFlowControl = fcNone;
    TStrings* FItems = nullptr;
    TComProperty FComProperty = cpNone;
    TCustomComPort* FComPort = nullptr;
    bool FAutoApply = false;
};

class TComComboBox : public TCustomComboBox {
    DECLARE_CLASS(TComComboBox, TCustomComboBox)

public:
    explicit TComComboBox(TComponent* owner);
    ~TComComboBox() override;

    TCustomComPort* ComPort() const { return FComSelect->ComPort(); }
    void SetComPort(TCustomComPort* value);
    TComProperty ComProperty() const { return FComSelect->ComProperty(); }
    void SetComProperty(TComProperty value);
    bool AutoApply() const { return FComSelect->AutoApply(); }
    void SetAutoApply(bool value) { FComSelect->SetAutoApply(value); }
    // The selected item's text, empty without a selection.
    String Text();
    // Selects the item equal to value; a text that is not listed changes nothing.
    void SetText(const String& value);

    void ApplySettings() { FComSelect->ApplySettings(); }
    void UpdateSettings();

protected:
    void Change() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TComSelect> FComSelect;
};
