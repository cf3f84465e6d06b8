// The cell stream's carrier components, the grid's column order (positions of recorded columns and the
// way back to the recorded order), the lookup of a column by its header and the wide-string cells.
#include "grid/view/AdvGridCarriers.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/PropertyInfo.h"

// ---- Carriers

DEFINE_CLASS(TGridCellIO, PROPERTY(Col), PROPERTY(Row), PROPERTY(Cell), PROPERTY(HasProp))
DEFINE_CLASS(TGridCellPropIO, PROPERTY(CellProperties), PROPERTY(HasGraphic))
DEFINE_CLASS(TGridGraphicIO, PROPERTY(CellGraphic))
DEFINE_CLASS(TGridBMPIO, PROPERTY(Bitmap))
DEFINE_CLASS(TGridIconIO, PROPERTY(Icon))
DEFINE_CLASS(TGridPicIO, PROPERTY(Picture))
DEFINE_CLASS(TGridFilePicIO, PROPERTY(Picture))
DEFINE_CLASS(TGridSLIO, PROPERTY(Strings))

TGridCellPropIO::TGridCellPropIO(TComponent* AOwner)
    : TComponent(AOwner),
      FCellProperties(std::make_unique<TCellProperties>(dynamic_cast<TBaseGrid*>(AOwner), 0, 0)) {}
TGridCellPropIO::~TGridCellPropIO() = default;

TGridGraphicIO::TGridGraphicIO(TComponent* AOwner)
    : TComponent(AOwner), FCellGraphic(std::make_unique<TBaseCellGraphic>()) {}
TGridGraphicIO::~TGridGraphicIO() = default;

TGridBMPIO::TGridBMPIO(TComponent* AOwner) : TComponent(AOwner), FBitmap(std::make_unique<TBitmap>()) {}
TGridBMPIO::~TGridBMPIO() = default;

TGridIconIO::TGridIconIO(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {}
TGridIconIO::~TGridIconIO() = default;

TGridPicIO::TGridPicIO(TComponent* AOwner) : TComponent(AOwner), FPicture(std::make_unique<TPicture>()) {}
TGridPicIO::~TGridPicIO() = default;

TGridFilePicIO::TGridFilePicIO(TComponent* AOwner)
    : TComponent(AOwner), FPicture(std::make_unique<TFilePicture>()) {}
TGridFilePicIO::~TGridFilePicIO() = default;

TGridSLIO::TGridSLIO(TComponent* AOwner) : TComponent(AOwner), FStrings(std::make_unique<TStringList>()) {}
TGridSLIO::~TGridSLIO() = default;

// ---- Column order

Integer TAdvStringGrid::ColumnAtPosition(Integer APos) {
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        if (FColumnOrder->Count() == 0)
            return APos;
    }
    const Integer entry = FColumnOrder->Items(APos);
    return FGroupColumn >= 0 && entry >= FGroupColumn ? entry + 1 : entry;
}

Integer TAdvStringGrid::ColumnByHeader(const String& AValue) {
    const Integer total = ColCount() + FNumHidden;
    for (Integer c = 0; c < total; ++c)
        if (GetCellsEx(c, 0) == AValue)
            return c;
    return -1;
}
