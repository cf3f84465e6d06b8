// Actions: commands that controls execute in place of their OnClick and whose caption, checked and
// enabled states the controls linked to them follow. Only what controls need of them so far.
#pragma once

#include <vector>

#include "platform/framework/Component.h"
#include "platform/rtl/Strings.h"

class TBasicAction;

// The bond between one client (a control) and its action: the action tells its links of every change,
// and a link hands the new values to its client as far as the client still shows the action's values.
class TBasicActionLink : public TObject {
    DECLARE_CLASS(TBasicActionLink, TObject)

public:
    // Links are made from their class (a client's GetActionLinkClass) and then given their client.
    TBasicActionLink() = default;
    ~TBasicActionLink() override;
    virtual void AssignClient(TObject* client) {}
    TBasicAction* Action() const { return FAction; }
    // Leaves the old action's list of links and joins the new one's.
    void SetAction(TBasicAction* value);
    // Executes the action; false without an action or when nothing handled it.
    virtual bool Execute(TComponent* target = nullptr);
    // Fired when the action changed (Change); the client re-reads the action.
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();

    TBasicAction* FAction = nullptr;
};

using TBasicActionLinkClass = TClass;

class TBasicAction : public TComponent {
    DECLARE_CLASS(TBasicAction, TComponent)

public:
    explicit TBasicAction(TComponent* owner);
    // Tells the links that the action is going away; they drop it.
    ~TBasicAction() override;
    // Fires OnExecute and answers whether it was assigned.
    virtual bool Execute();
    Integer ClientCount() const { return static_cast<Integer>(FClients.size()); }
    TNotifyEvent OnExecute;

protected:
    friend class TBasicActionLink;
    // Tells every link that the action changed as a whole; the clients take all its values again.
    virtual void Change();
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

    std::vector<TBasicActionLink*> FClients;
};

// An action with the properties controls show: Caption, Checked, Enabled.
class TCustomAction : public TBasicAction {
    DECLARE_CLASS(TCustomAction, TBasicAction)

public:
    explicit TCustomAction(TComponent* owner);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // The group of mutually exclusive actions the action belongs to; 0 for none.
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer value);

private:
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    Integer FGroupIndex = 0;
};

class TAction : public TCustomAction {
    DECLARE_CLASS(TAction, TCustomAction)

public:
    using TCustomAction::TCustomAction;
};

// A link that hands values on: each setter applies the value when the matching Is...Linked answers true,
// which a client's link narrows to "the client still shows the action's value".
class TActionLink : public TBasicActionLink {
    DECLARE_CLASS(TActionLink, TBasicActionLink)

public:
    // True while the action is a TCustomAction.
    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsGroupIndexLinked();
    virtual void SetCaption(const String& value) {}
    virtual void SetChecked(bool value) {}
    virtual void SetEnabled(bool value) {}
    virtual void SetGroupIndex(Integer value) {}
};
