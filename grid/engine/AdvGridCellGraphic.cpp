// Pictures in cells: bitmaps, icons, pictures and file pictures, images of the grid's image list, rotated
// text and cells drawn by an interfaced object.
#include "grid/engine/AdvGrid.h"

TCellGraphic* TAdvStringGrid::OwnCellGraphic(Integer ACol, Integer ARow) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

// ---- Bitmaps and icons

void TAdvStringGrid::AddBitmap(Integer ACol, Integer ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* TAdvStringGrid::CreateBitmap(Integer ACol, Integer ARow, bool transparent, TCellHAlign hal,
                                      TCellVAlign val) {
    auto bitmap = std::make_unique<TBitmap>();
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetBitmap(bitmap.get(), transparent, hal, val);
    graphic->SetCellCreated(true);
    return bitmap.release();
}

TBitmap* TAdvStringGrid::GetBitmap(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctBitmap)
        return nullptr;
    return dynamic_cast<TBitmap*>(graphic->CellBitmap());
}

void TAdvStringGrid::RemoveBitmap(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctBitmap);
}

void TAdvStringGrid::AddIcon(Integer ACol, Integer ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

TIcon* TAdvStringGrid::CreateIcon(Integer ACol, Integer ARow, TCellHAlign hal, TCellVAlign val) {
    auto icon = std::make_unique<TIcon>();
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetIcon(icon.get(), hal, val);
    graphic->SetCellCreated(true);
    return icon.release();
}

void TAdvStringGrid::RemoveIcon(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctIcon);
}

// ---- Pictures and file pictures

void TAdvStringGrid::AddPicture(Integer ACol, Integer ARow, TPicture* APicture, bool transparent,
                                TStretchMode stretchmode, Integer padding, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetPicture(APicture, transparent, stretchmode, padding, hal, val);
}

TPicture* TAdvStringGrid::CreatePicture(Integer ACol, Integer ARow, bool transparent,
                                        TStretchMode stretchmode, Integer padding, TCellHAlign hal,
                                        TCellVAlign val) {
    auto picture = std::make_unique<TPicture>();
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetPicture(picture.get(), transparent, stretchmode, padding, hal, val);
    graphic->SetCellCreated(true);
    return picture.release();
}

TPicture* TAdvStringGrid::GetPicture(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctPicture)
        return nullptr;
    return dynamic_cast<TPicture*>(graphic->CellBitmap());
}

void TAdvStringGrid::RemovePicture(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctPicture);
}

void TAdvStringGrid::AddFilePicture(Integer ACol, Integer ARow, TFilePicture* AFilePicture, bool Transparent,
                                    TStretchMode stretchmode, Integer padding, TCellHAlign hal,
                                    TCellVAlign val) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetPicture(nullptr, Transparent, stretchmode, padding, hal, val);
    graphic->SetCellType(ctFilePicture);
    graphic->SetCellBitmap(AFilePicture);
}

TFilePicture* TAdvStringGrid::CreateFilePicture(Integer ACol, Integer ARow, bool Transparent,
                                                TStretchMode StretchMode, Integer padding, TCellHAlign hal,
                                                TCellVAlign val) {
    auto picture = std::make_unique<TFilePicture>();
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetPicture(nullptr, Transparent, StretchMode, padding, hal, val);
    graphic->SetCellType(ctFilePicture);
    graphic->SetCellBitmap(picture.get());
    graphic->SetCellCreated(true);
    return picture.release();
}

TFilePicture* TAdvStringGrid::GetFilePicture(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctFilePicture)
        return nullptr;
    return dynamic_cast<TFilePicture*>(graphic->CellBitmap());
}

void TAdvStringGrid::RemoveFilePicture(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctFilePicture);
}

// ---- Images of the grid's image list

void TAdvStringGrid::AddImageIdx(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val) {
    if (FGridImages == nullptr)
        return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool TAdvStringGrid::GetImageIdx(Integer ACol, Integer ARow, Integer& idx) {
    if (FGridImages == nullptr)
        return false;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctImageList)
        return false;
    idx = graphic->CellIndex();
    return true;
}

void TAdvStringGrid::SetImageIdx(Integer ACol, Integer ARow, Integer Idx) {
    if (FGridImages == nullptr)
        return;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic != nullptr && graphic->CellType() == ctImageList)
        graphic->SetCellIndex(Idx);
}

void TAdvStringGrid::RemoveImageIdx(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctImageList);
}

void TAdvStringGrid::AddDataImage(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal,
                                  TCellVAlign val) {
    if (FGridImages == nullptr)
        return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (Cells(ACol, ARow).empty())
        SetInts(ACol, ARow, Aidx);
}

bool TAdvStringGrid::HasDataImage(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctDataImage});
}

void TAdvStringGrid::RemoveDataImage(Integer ACol, Integer ARow) {
    // The text was the image's index; a cell that showed no data image keeps its text.
    if (RemoveCellGraphicOfType(ACol, ARow, ctDataImage))
        SetCells(ACol, ARow, u"");
}

void TAdvStringGrid::AddMultiImage(Integer ACol, Integer ARow, Integer Dir, TCellHAlign hal,
                                   TCellVAlign val) {
    if (FGridImages == nullptr)
        return;
    CreateCellGraphic(ACol, ARow)
        ->SetMultiImage(ACol, ARow, Dir, hal, val, [this](TObject* Sender, Integer Col, Integer Row) {
            CellImagesChanged(Sender, Col, Row);
        });
}

void TAdvStringGrid::RemoveMultiImage(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctImages);
}

void TAdvStringGrid::CellImagesChanged(TObject* /*Sender*/, Integer ACol, Integer ARow) {
    RepaintCell(ACol, ARow);
}

void TAdvStringGrid::SetGridImages(TCustomImageList* Value) {
    if (FGridImages == Value)
        return;
    if (FGridImages != nullptr)
        FGridImages->RemoveFreeNotification(this);
    FGridImages = Value;
    // The list belongs to someone else: the grid only learns when it goes, so it never draws from a
    // freed list.
    if (FGridImages != nullptr)
        FGridImages->FreeNotification(this);
}

// ---- Rotated text

void TAdvStringGrid::AddRotated(Integer ACol, Integer ARow, SmallInt AAngle, const String& s) {
    CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
    SetCells(ACol, ARow, s);
}

void TAdvStringGrid::SetRotated(Integer ACol, Integer ARow, SmallInt AAngle) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr) {
        CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
        return;
    }
    // Rotated text owns nothing: whatever the old kind owned would otherwise be lost, or be freed as
    // something else by a later kind.
    graphic->FreeOwned();
    graphic->SetAngle(AAngle);
}

bool TAdvStringGrid::IsRotated(Integer ACol, Integer ARow, Integer& aAngle) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctRotated)
        return false;
    aAngle = graphic->CellAngle();
    return true;
}

void TAdvStringGrid::RemoveRotated(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctRotated);
}

// ---- Interfaced cells

void TAdvStringGrid::AddInterfacedCell(Integer ACol, Integer ARow, TInterfacedPersistent* AObject) {
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

TInterfacedPersistent* TAdvStringGrid::GetInterfacedCell(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctInterface)
        return nullptr;
    return dynamic_cast<TInterfacedPersistent*>(graphic->CellBitmap());
}

void TAdvStringGrid::RemoveInterfacedCell(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctInterface);
}
