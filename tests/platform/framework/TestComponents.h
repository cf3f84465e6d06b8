// Component classes of the framework tests: a widget with a property of every kind, a nested settings
// object, a collection, a panel with children and a form that publishes fields and handlers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Collection.h"
#include "platform/framework/Component.h"
#include "platform/framework/DataModule.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/Strings.h"

ZELMOR_ENUM(TTestKind, tkPlain, tkFancy, tkOdd)
ZELMOR_ENUM(TTestOption, toBold, toItalic, toUnderline, toStrike)
using TTestOptions = TSet<TTestOption>;

// A record of what happened, shared by the test components ("Loaded Button1", "Notify Form1 remove Edit1").
std::vector<std::string>& TestLog();

class TTestFont : public TPersistent {
    DECLARE_CLASS(TTestFont, TPersistent)

public:
    void Assign(TPersistent* source) override;
    const String& Name() const { return FName; }
    void SetName(const String& name) { FName = name; }
    Integer Size() const { return FSize; }
    void SetSize(Integer size) { FSize = size; }
    TTestOptions Style() const { return FStyle; }
    void SetStyle(TTestOptions style) { FStyle = style; }

private:
    String FName = u"Tahoma";
    Integer FSize = 8;
    TTestOptions FStyle;
};

class TTestItem : public TCollectionItem {
    DECLARE_CLASS(TTestItem, TCollectionItem)

public:
    using TCollectionItem::TCollectionItem;
    void Assign(TPersistent* source) override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& caption) {
        FCaption = caption;
        Changed(false);
    }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer width) { FWidth = width; }
    TComponent* Link() const { return FLink; }
    void SetLink(TComponent* link) { FLink = link; }

private:
    String FCaption;
    Integer FWidth = 64;
    TComponent* FLink = nullptr;
};

// Reports Update calls in TestLog ("Update nil", "Update 1").
class TTestItems : public TOwnedCollection {
    DECLARE_CLASS(TTestItems, TOwnedCollection)

public:
    explicit TTestItems(TPersistent* owner) : TOwnedCollection(owner, TTestItem::StaticClass()) {}
    TTestItem* Item(Integer index) const { return static_cast<TTestItem*>(Items(index)); }

protected:
    void Update(TCollectionItem* item) override;
    void Notify(TCollectionItem* item, TCollectionNotification action) override;
};

class TTestWidget : public TComponent {
    DECLARE_CLASS(TTestWidget, TComponent)

public:
    explicit TTestWidget(TComponent* owner);
    ~TTestWidget() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& caption) { FCaption = caption; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer width) { FWidth = width; }
    Int64 Big() const { return FBig; }
    void SetBig(Int64 big) { FBig = big; }
    Word Small() const { return FSmall; }
    void SetSmall(Word small) { FSmall = small; }
    Cardinal Mask() const { return FMask; }
    void SetMask(Cardinal mask) { FMask = mask; }
    double Ratio() const { return FRatio; }
    void SetRatio(double ratio) { FRatio = ratio; }
    float Scale() const { return FScale; }
    void SetScale(float scale) { FScale = scale; }
    TDateTime Stamp() const { return FStamp; }
    void SetStamp(TDateTime stamp) { FStamp = stamp; }
    Char Accel() const { return FAccel; }
    void SetAccel(Char accel) { FAccel = accel; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled) { FEnabled = enabled; }
    bool Flag() const { return FFlag; }
    void SetFlag(bool flag) { FFlag = flag; }
    TTestKind Kind() const { return FKind; }
    void SetKind(TTestKind kind) { FKind = kind; }
    TTestOptions Options() const { return FOptions; }
    void SetOptions(TTestOptions options) { FOptions = options; }
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor) { FCursor = cursor; }
    TTestFont* Font() const { return FFont.get(); }
    void SetFont(TTestFont* font) { FFont->Assign(font); }
    TTestItems* Items() const { return FItems.get(); }
    void SetItems(TTestItems* items) { FItems->Assign(items); }
    TStringList* Lines() const { return FLines.get(); }
    void SetLines(TStringList* lines) { FLines->Assign(*lines); }
    TComponent* Buddy() const { return FBuddy; }
    void SetBuddy(TComponent* buddy);
    // Stored only when it is not the caption.
    const String& Hint() const { return FHint; }
    void SetHint(const String& hint) { FHint = hint; }
    bool IsHintStored() const { return FHint != FCaption; }
    const std::vector<Byte>& Data() const { return FData; }
    void SetData(const std::vector<Byte>& data) { FData = data; }

    TNotifyEvent OnClick;
    std::function<void(TObject* sender, Integer& value)> OnChanging;

    void DefineProperties(TFiler* filer) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    String FCaption;
    Integer FWidth = 75;
    Int64 FBig = 0;
    Word FSmall = 0;
    Cardinal FMask = 0;
    double FRatio = 0;
    float FScale = 0;
    TDateTime FStamp = 0;
    Char FAccel = u'A';
    bool FEnabled = true;
    bool FFlag = false;
    TTestKind FKind = tkPlain;
    TTestOptions FOptions{toBold};
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    std::unique_ptr<TTestFont> FFont;
    std::unique_ptr<TTestItems> FItems;
    std::unique_ptr<TStringList> FLines;
    TComponent* FBuddy = nullptr;
    String FHint;
    std::vector<Byte> FData; // stored as the binary property "Data"
};

// A component whose children are the components that name it as their parent.
class TTestPanel : public TTestWidget {
    DECLARE_CLASS(TTestPanel, TTestWidget)

public:
    using TTestWidget::TTestWidget;
    ~TTestPanel() override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return FParent; }
    TTestPanel* Parent() const { return FParent; }
    void SetParent(TTestPanel* parent);
    const std::vector<TTestPanel*>& Children() const { return FChildren; }

protected:
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetParentComponent(TComponent* parent) override;

private:
    TTestPanel* FParent = nullptr;
    std::vector<TTestPanel*> FChildren;
};

// A root that streams its owned components without a parent, and the panels with one under them.
class TTestForm : public TComponent {
    DECLARE_CLASS(TTestForm, TComponent)

public:
    using TComponent::TComponent;
    void ButtonClick(TObject* sender);
    void ValueChanging(TObject* sender, Integer& value);
    void OtherClick(TObject* sender);

    TTestWidget* Button1 = nullptr;
    TTestPanel* Panel1 = nullptr;
    std::vector<std::string> Clicks;

protected:
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;
};

// A form whose embedded description (TestForm.form) is read when it is constructed.
class TTestDescribedForm : public TTestForm {
    DECLARE_CLASS(TTestDescribedForm, TTestForm)

public:
    using TTestForm::TTestForm;
    void AfterConstruction() override;

    TTestWidget* Edit1 = nullptr;
};

// A data module whose description (TestDataModule.form) binds its OnCreate and a widget's OnClick.
class TTestDataModule : public TDataModule {
    DECLARE_CLASS(TTestDataModule, TDataModule)

public:
    using TDataModule::TDataModule;
    void ModuleCreate(TObject* sender);
    void WidgetClick(TObject* sender);

    TTestWidget* Worker = nullptr;
    std::vector<std::string> Events;
};

// Registers the test classes (once).
void RegisterTestClasses();
