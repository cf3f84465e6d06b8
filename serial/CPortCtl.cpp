// TComSelect and TComComboBox: the value lists of a port's settings and the moves of a chosen value
// between a combo box and its port.
#include "serial/CPortCtl.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TComSelect)
DEFINE_CLASS(TComComboBox, PROPERTY(ComPort), PROPERTY(ComProperty).Default(cpNone),
             PROPERTY(AutoApply).Default(false), PROPERTY(Text), PROPERTY(Style).Default(csDropDownList),
             PROPERTY(DropDownCount).Default(8),
             PROPERTY(ItemHeight).Default(16).Stored(&TCustomComboBox::IsItemHeightStored),
             PROPERTY(ParentColor).Default(false), PROPERTY(TabStop).Default(true), EVENT(OnChange),
             EVENT(OnDropDown), EVENT(OnCloseUp), EVENT(OnDrawItem), EVENT(OnMeasureItem))

namespace {

// Appends the value texts of every member of an enumeration, in declared order.
template <class E, class ToText> void FillValues(TStrings* items, E last, ToText toText) {
    for (int value = 0; value <= static_cast<int>(last); ++value)
        items->Add(toText(static_cast<E>(value)));
}

} // namespace

// ---- TComSelect ----

void TComSelect::SetComProperty(TComProperty value) {
    FComProperty = value;
    switch (value) {
    case cpPort:
        SelectPort();
        break;
    case cpBaudRate:
        SelectBaudRate();
        break;
    case cpDataBits:
        SelectDataBits();
        break;
    case cpStopBits:
        SelectStopBits();
        break;
    case cpParity:
        SelectParity();
        break;
    case cpFlowControl:
        SelectFlowControl();
        break;
    case cpNone:
        if (FItems)
            FItems->Clear();
        break;
    }
}

void TComSelect::SelectPort() {
    if (!FItems)
        return;
    FItems->Clear();
    ListSerialPorts(FItems);
}

void TComSelect::SelectBaudRate() {
    if (!FItems)
        return;
    FItems->Clear();
    FillValues(FItems, br256000, BaudRateToText);
}

void TComSelect::SelectDataBits() {
    if (!FItems)
        return;
    FItems->Clear();
    FillValues(FItems, dbEight, DataBitsToText);
}

void TComSelect::SelectStopBits() {
    if (!FItems)
        return;
    FItems->Clear();
    FillValues(FItems, sbTwoStopBits, StopBitsToText);
}

void TComSelect::SelectParity() {
    if (!FItems)
        return;
    FItems->Clear();
    FillValues(FItems, prSpace, ParityToText);
}

void TComSelect::SelectFlowControl() {
    if (!FItems)
        return;
    FItems->Clear();
    FillValues(FItems, fcCustom, FlowControlToText);
}

void TComSelect::Change(const String& text) {
    SetPending(text);
    if (FAutoApply)
        ApplySettings();
}

void TComSelect::SetPending(const String& text) {
    switch (FComProperty) {
    case cpPort:
        FPort = text;
        break;
    case cpBaudRate:
        FBaudRate = TextToBaudRate(text);
        break;
    case cpDataBits:
        FDataBits = TextToDataBits(text);
        break;
    case cpStopBits:
        FStopBits = TextToStopBits(text);
        break;
    case cpParity:
        FParity = TextToParity(text);
        break;
    case cpFlowControl:
        FFlowControl = TextToFlowControl(text);
        break;
    case cpNone:
        break;
    }
}

void TComSelect::ApplySettings() {
    if (!FComPort)
        return;
    switch (FComProperty) {
    case cpPort:
        FComPort->SetPort(FPort);
        break;
    case cpBaudRate:
        FComPort->SetBaudRate(FBaudRate);
        break;
    case cpDataBits:
        FComPort->SetDataBits(FDataBits);
        break;
    case cpStopBits:
        FComPort->SetStopBits(FStopBits);
        break;
    case cpParity:
        FComPort->Parity()->SetBits(FParity);
        break;
    case cpFlowControl:
        FComPort->FlowControl()->SetFlowControl(FFlowControl);
        break;
    case cpNone:
        break;
    }
}

String TComSelect::PortValueText() const {
    switch (FComProperty) {
    case cpPort:
        return FComPort->Port();
    case cpBaudRate:
        return BaudRateToText(FComPort->BaudRate());
    case cpDataBits:
        return DataBitsToText(FComPort->DataBits());
    case cpStopBits:
        return StopBitsToText(FComPort->StopBits());
    case cpParity:
        return ParityToText(FComPort->Parity()->Bits());
    case cpFlowControl:
        return FlowControlToText(FComPort->FlowControl()->FlowControl());
    case cpNone:
        break;
    }
    return String();
}

void TComSelect::UpdateSettings(Integer& itemIndex) {
    // Without a port the selection stays as it is; nothing in the console binds a box to no port.
    if (!FComPort || !FItems)
        return;
    itemIndex = FItems->IndexOf(PortValueText());
    if (itemIndex != -1)
        SetPending(FItems->Strings(itemIndex));
}

// ---- TComComboBox ----

TComComboBox::TComComboBox(TComponent* owner)
    : TCustomComboBox(owner), FComSelect(std::make_unique<TComSelect>()) {
    FComSelect->SetItems(Items());
    SetStyle(csDropDownList);
}

TComComboBox::~TComComboBox() {
    if (ComPort())
        ComPort()->RemoveFreeNotification(this);
}

void TComComboBox::SetComPort(TCustomComPort* value) {
    if (value == ComPort())
        return;
    if (ComPort())
        ComPort()->RemoveFreeNotification(this);
    FComSelect->SetComPort(value);
    if (value) {
        value->FreeNotification(this);
        UpdateSettings();
    }
}

void TComComboBox::SetComProperty(TComProperty value) {
    FComSelect->SetComProperty(value);
    if (Items()->Count() == 0)
        return;
    if (ComPort())
        UpdateSettings();
    else
        SetItemIndex(0);
}

String TComComboBox::Text() {
    Integer index = ItemIndex();
    return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : String();
}

void TComComboBox::SetText(const String& value) {
    Integer index = Items()->IndexOf(value);
    if (index != -1)
        SetItemIndex(index);
}

void TComComboBox::UpdateSettings() {
    Integer index = ItemIndex();
    FComSelect->UpdateSettings(index);
    SetItemIndex(index);
}

void TComComboBox::Change() {
    FComSelect->Change(Text());
    TCustomComboBox::Change();
}

void TComComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == opRemove && component != nullptr && component == ComPort()) {
        FComSelect->SetComPort(nullptr);
        if (Items()->Count() > 0)
            SetItemIndex(0);
    }
}
