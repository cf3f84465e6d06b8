// TDataModule: a root component without a window that holds non-visual components, built from its
// embedded description.
#pragma once

#include "platform/framework/Component.h"
#include "platform/rtl/Strings.h"

class TDataModule : public TComponent {
    DECLARE_CLASS(TDataModule, TComponent)

public:
    explicit TDataModule(TComponent* owner);
    // A module made through CreateNew reads no description.
    TDataModule(TComponent* owner, Integer dummy);

    // Loads the description of the module's class (EResNotFound "Resource %s not found" when a derived
    // class has none) and then fires OnCreate.
    void AfterConstruction() override;
    // Fires OnDestroy while the module is still whole.
    void BeforeDestruction() override;

    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }
    void DefineProperties(TFiler* filer) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

protected:
    // The owned components that have no parent.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

private:
    bool FCreateNew = false;
    bool FOldCreateOrder = false;
    bool FDestroyed = false;
    Integer FDesignHeight = 0; // the designer's view of the module
    Integer FDesignWidth = 0;
    Integer FHorizontalOffset = 0;
    Integer FVerticalOffset = 0;
};
