// TDataModule.
#include "platform/framework/DataModule.h"

#include "platform/framework/Filer.h"
#include "platform/framework/FormResources.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TDataModule, PROPERTY(OldCreateOrder), EVENT(OnCreate), EVENT(OnDestroy))

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {}

TDataModule::TDataModule(TComponent* owner, Integer) : TComponent(owner), FCreateNew(true) {}

void TDataModule::AfterConstruction() {
    if (!FCreateNew && ClassType() != TDataModule::StaticClass() && !ComponentState().Contains(csDesigning)) {
        if (!InitInheritedComponent(this, TDataModule::StaticClass()))
            throw EResNotFound(Consts::SResNotFound, {ClassName()});
    }
    if (OnCreate)
        OnCreate(this);
}

void TDataModule::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (!FDestroyed) {
        FDestroyed = true;
        if (OnDestroy)
            OnDestroy(this);
    }
}

void TDataModule::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (Integer i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent())
            proc(Components(i));
}

void TDataModule::DefineProperties(TFiler* filer) {
    TComponent::DefineProperties(filer);
    auto define = [filer](const Char* name, Integer& field) {
        filer->DefineProperty(
            name, [&field](TReader* reader) { field = reader->ReadInteger(); },
            [&field](TWriter* writer) { writer->WriteInteger(field); }, field != 0);
    };
    define(u"Height", FDesignHeight);
    define(u"HorizontalOffset", FHorizontalOffset);
    define(u"VerticalOffset", FVerticalOffset);
    define(u"Width", FDesignWidth);
}
