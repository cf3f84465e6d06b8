// The components that carry one cell through the binary cell stream: its text and place, its property
// record, its graphic object and the bitmap, icon, picture, file picture or string list the graphic
// refers to. Each publishes what it carries, so the framework's component streaming writes and reads it.
#pragma once

#include <memory>

#include "grid/engine/AdvGridCellObjects.h"
#include "grid/engine/AdvObj.h"
#include "grid/engine/BaseGrid.h"
#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"

// A cell's place and text; HasProp says a TGridCellPropIO follows.
class TGridCellIO : public TComponent {
    DECLARE_CLASS(TGridCellIO, TComponent)

public:
    using TComponent::TComponent;
    Word Col() const { return FCol; }
    void SetCol(Word Value) { FCol = Value; }
    Word Row() const { return FRow; }
    void SetRow(Word Value) { FRow = Value; }
    String Cell() const { return FCell; }
    void SetCell(const String& Value) { FCell = Value; }
    bool HasProp() const { return FHasProp; }
    void SetHasProp(bool Value) { FHasProp = Value; }

private:
    Word FCol = 0;
    Word FRow = 0;
    String FCell;
    bool FHasProp = false;
};

// A cell's property record, made for the owner grid (when the owner is one) at column 0, row 0, so it
// starts from that grid's defaults; HasGraphic says a TGridGraphicIO follows.
class TGridCellPropIO : public TComponent {
    DECLARE_CLASS(TGridCellPropIO, TComponent)

public:
    explicit TGridCellPropIO(TComponent* AOwner);
    ~TGridCellPropIO() override;
    TCellProperties* CellProperties() const { return FCellProperties.get(); }
    void SetCellProperties(TCellProperties* Value) { FCellProperties->Assign(Value); }
    bool HasGraphic() const { return FHasGraphic; }
    void SetHasGraphic(bool Value) { FHasGraphic = Value; }

private:
    std::unique_ptr<TCellProperties> FCellProperties;
    bool FHasGraphic = false;
};

// A cell's graphic object, of kind ctNone until it is filled.
class TGridGraphicIO : public TComponent {
    DECLARE_CLASS(TGridGraphicIO, TComponent)

public:
    explicit TGridGraphicIO(TComponent* AOwner);
    ~TGridGraphicIO() override;
    TBaseCellGraphic* CellGraphic() const { return FCellGraphic.get(); }
    void SetCellGraphic(TBaseCellGraphic* Value) { FCellGraphic->Assign(Value); }

private:
    std::unique_ptr<TBaseCellGraphic> FCellGraphic;
};

class TGridBMPIO : public TComponent {
    DECLARE_CLASS(TGridBMPIO, TComponent)

public:
    explicit TGridBMPIO(TComponent* AOwner);
    ~TGridBMPIO() override;
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }

private:
    std::unique_ptr<TBitmap> FBitmap;
};

class TGridIconIO : public TComponent {
    DECLARE_CLASS(TGridIconIO, TComponent)

public:
    explicit TGridIconIO(TComponent* AOwner);
    ~TGridIconIO() override;
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* Value) { FIcon->Assign(Value); }

private:
    std::unique_ptr<TIcon> FIcon;
};

class TGridPicIO : public TComponent {
    DECLARE_CLASS(TGridPicIO, TComponent)

public:
    explicit TGridPicIO(TComponent* AOwner);
    ~TGridPicIO() override;
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }

private:
    std::unique_ptr<TPicture> FPicture;
};

class TGridFilePicIO : public TComponent {
    DECLARE_CLASS(TGridFilePicIO, TComponent)

public:
    explicit TGridFilePicIO(TComponent* AOwner);
    ~TGridFilePicIO() override;
    TFilePicture* Picture() const { return FPicture.get(); }
    void SetPicture(TFilePicture* Value) { FPicture->Assign(Value); }

private:
    std::unique_ptr<TFilePicture> FPicture;
};

class TGridSLIO : public TComponent {
    DECLARE_CLASS(TGridSLIO, TComponent)

public:
    explicit TGridSLIO(TComponent* AOwner);
    ~TGridSLIO() override;
    TStrings* Strings() const { return FStrings.get(); }
    void SetStrings(TStrings* Value) { FStrings->Assign(Value); }

private:
    std::unique_ptr<TStringList> FStrings;
};
