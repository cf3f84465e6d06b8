// The framework tests' component classes and their published tables.
#include "tests/platform/framework/TestComponents.h"

#include <algorithm>

#include "platform/framework/Filer.h"
#include "platform/framework/FormResources.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"

std::vector<std::string>& TestLog() {
    static std::vector<std::string> log;
    return log;
}

namespace {

std::string Utf8(const String& s) {
    return StringToUtf8(s);
}

} // namespace

DEFINE_CLASS(TTestFont, PROPERTY(Name), PROPERTY(Size).Default(8), PROPERTY(Style).Default(TTestOptions()))

void TTestFont::Assign(TPersistent* source) {
    if (auto* font = dynamic_cast<TTestFont*>(source)) {
        FName = font->FName;
        FSize = font->FSize;
        FStyle = font->FStyle;
        return;
    }
    TPersistent::Assign(source);
}

DEFINE_CLASS(TTestItem, PROPERTY(Caption), PROPERTY(Width).Default(64), PROPERTY(Link))

void TTestItem::Assign(TPersistent* source) {
    if (auto* item = dynamic_cast<TTestItem*>(source)) {
        FCaption = item->FCaption;
        FWidth = item->FWidth;
        FLink = item->FLink;
        return;
    }
    TCollectionItem::Assign(source);
}

DEFINE_CLASS(TTestItems)

void TTestItems::Update(TCollectionItem* item) {
    TestLog().push_back(item == nullptr ? "Update nil" : "Update " + std::to_string(item->Index()));
}

void TTestItems::Notify(TCollectionItem* item, TCollectionNotification action) {
    static const char* names[] = {"added", "extracting", "deleting"};
    TestLog().push_back(std::string("Notify ") + names[action] + " " + std::to_string(item->ID()));
}

DEFINE_CLASS(TTestWidget, PROPERTY(Caption), PROPERTY(Width).Default(75), PROPERTY(Big),
             PROPERTY(Small).Default(0), PROPERTY(Mask).Default(0), PROPERTY(Ratio), PROPERTY(Scale),
             PROPERTY(Stamp).Type(TypeInfoDateTime()), PROPERTY(Accel).Default(u'A'),
             PROPERTY(Enabled).Default(true), PROPERTY(Flag), PROPERTY(Kind).Default(tkPlain),
             PROPERTY(Options).Default(TTestOptions{toBold}),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(Cursor).Type(TypeInfoCursor()).Default(crDefault), PROPERTY(Font), PROPERTY(Items),
             PROPERTY(Lines), PROPERTY(Buddy), PROPERTY(Hint).Stored(&Self::IsHintStored), EVENT(OnClick),
             EVENT(OnChanging))

TTestWidget::TTestWidget(TComponent* owner)
    : TComponent(owner), FFont(std::make_unique<TTestFont>()), FItems(std::make_unique<TTestItems>(this)),
      FLines(std::make_unique<TStringList>()) {}

TTestWidget::~TTestWidget() {
    TestLog().push_back("Destroy " + Utf8(Name()));
}

void TTestWidget::SetBuddy(TComponent* buddy) {
    if (FBuddy != nullptr)
        FBuddy->RemoveFreeNotification(this);
    FBuddy = buddy;
    if (FBuddy != nullptr)
        FBuddy->FreeNotification(this);
}

void TTestWidget::DefineProperties(TFiler* filer) {
    TComponent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        u"Data",
        [this](TStream& stream) {
            FData.resize(static_cast<std::size_t>(stream.Size()));
            if (!FData.empty())
                stream.ReadBuffer(FData.data(), static_cast<Integer>(FData.size()));
        },
        [this](TStream& stream) {
            if (!FData.empty())
                stream.WriteBuffer(FData.data(), static_cast<Integer>(FData.size()));
        },
        !FData.empty());
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    TestLog().push_back("Notify " + Utf8(Name()) + (operation == opInsert ? " insert " : " remove ") +
                        Utf8(component->Name()));
    if (operation == opRemove && component == FBuddy)
        FBuddy = nullptr;
}

void TTestWidget::Loaded() {
    TComponent::Loaded();
    TestLog().push_back("Loaded " + Utf8(Name()));
}

DEFINE_CLASS(TTestPanel)

TTestPanel::~TTestPanel() {
    while (!FChildren.empty())
        FChildren.back()->SetParent(nullptr);
    SetParent(nullptr);
}

void TTestPanel::SetParent(TTestPanel* parent) {
    if (FParent == parent)
        return;
    if (FParent != nullptr)
        std::erase(FParent->FChildren, this);
    FParent = parent;
    if (FParent != nullptr)
        FParent->FChildren.push_back(this);
}

void TTestPanel::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TTestPanel* child : FChildren)
        if (child->Owner() == root)
            proc(child);
}

void TTestPanel::SetParentComponent(TComponent* parent) {
    SetParent(dynamic_cast<TTestPanel*>(parent));
}

DEFINE_CLASS(TTestForm, METHOD(ButtonClick), METHOD(ValueChanging), METHOD(OtherClick), FIELD(Button1),
             FIELD(Panel1))

void TTestForm::ButtonClick(TObject* sender) {
    Clicks.push_back("ButtonClick " + Utf8(static_cast<TComponent*>(sender)->Name()));
}

void TTestForm::ValueChanging(TObject* sender, Integer& value) {
    value *= 2;
}

void TTestForm::OtherClick(TObject* sender) {
    Clicks.push_back("OtherClick");
}

void TTestForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (Integer i = 0; i < ComponentCount(); ++i) {
        TComponent* component = Components(i);
        auto* panel = dynamic_cast<TTestPanel*>(component);
        if (panel == nullptr || panel->Parent() == nullptr)
            proc(component);
    }
}

void TTestForm::Loaded() {
    TComponent::Loaded();
    TestLog().push_back("Loaded " + Utf8(Name()));
}

DEFINE_CLASS(TTestDescribedForm, FIELD(Edit1))

void TTestDescribedForm::AfterConstruction() {
    TTestForm::AfterConstruction();
    InitInheritedComponent(this, TTestForm::StaticClass());
}

DEFINE_CLASS(TTestDataModule, METHOD(ModuleCreate), METHOD(WidgetClick), FIELD(Worker))

void TTestDataModule::ModuleCreate(TObject* sender) {
    Events.push_back("create, worker " + std::string(Worker != nullptr ? "ready" : "missing"));
}

void TTestDataModule::WidgetClick(TObject* sender) {
    Events.push_back("click");
}

void RegisterTestClasses() {
    static const bool registered = [] {
        RegisterClasses({TTestWidget::StaticClass(), TTestPanel::StaticClass(), TTestForm::StaticClass(),
                         TTestDescribedForm::StaticClass(), TTestDataModule::StaticClass()});
        return true;
    }();
    (void)registered;
}
