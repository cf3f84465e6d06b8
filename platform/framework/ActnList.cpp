// Actions and the links that bind controls to them.
#include "platform/framework/ActnList.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TBasicActionLink)
DEFINE_CLASS(TBasicAction, EVENT(OnExecute))
DEFINE_CLASS(TCustomAction)
DEFINE_CLASS(TAction, PROPERTY(Caption), PROPERTY(Checked).Default(false), PROPERTY(Enabled).Default(true))
DEFINE_CLASS(TActionLink)

// ---- TBasicActionLink ----

TBasicActionLink::~TBasicActionLink() {
    if (FAction != nullptr)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (value == FAction)
        return;
    if (FAction != nullptr)
        FAction->UnRegisterChanges(this);
    FAction = value;
    if (value != nullptr)
        value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* target) {
    return FAction != nullptr && FAction->Execute();
}

void TBasicActionLink::Change() {
    if (OnChange)
        OnChange(FAction);
}

// ---- TBasicAction ----

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    // The links outlive the action in their clients; they must not call back into it.
    for (TBasicActionLink* link : FClients)
        link->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TBasicAction::Change() {
    // A link's handler may drop its action; walk a copy.
    std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    FClients.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    std::erase(FClients, link);
}

// ---- TCustomAction ----

TCustomAction::TCustomAction(TComponent* owner) : TBasicAction(owner) {}

// Each setter offers the value to the links before storing it, so that a link still sees the old value
// when it compares its client with the action: a client that shows a value of its own keeps it.
void TCustomAction::SetCaption(const String& value) {
    if (value == FCaption)
        return;
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            actionLink->SetCaption(value);
    FCaption = value;
}

void TCustomAction::SetChecked(bool value) {
    if (value == FChecked)
        return;
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            actionLink->SetChecked(value);
    FChecked = value;
}

void TCustomAction::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            actionLink->SetEnabled(value);
    FEnabled = value;
}

void TCustomAction::SetGroupIndex(Integer value) {
    if (value == FGroupIndex)
        return;
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            actionLink->SetGroupIndex(value);
    FGroupIndex = value;
}

// ---- TActionLink ----

bool TActionLink::IsCaptionLinked() {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}

bool TActionLink::IsCheckedLinked() {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}

bool TActionLink::IsEnabledLinked() {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}

bool TActionLink::IsGroupIndexLinked() {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
