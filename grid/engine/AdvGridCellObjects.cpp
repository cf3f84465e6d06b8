// The cell objects and the grid's plumbing that creates, finds, tests and removes them; also the look
// of outline nodes and the sizing-while-typing settings the grid owns.
#include "grid/engine/AdvGridCellObjects.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/PropertyInfo.h"

// ---- TBaseCellGraphic

DEFINE_CLASS(TBaseCellGraphic, PROPERTY(CellType), PROPERTY(CellVAlign), PROPERTY(CellHAlign),
             PROPERTY(CellIndex), PROPERTY(CellTransparent), PROPERTY(CellCreated), PROPERTY(CellBoolean),
             PROPERTY(CellCheckBoxState), PROPERTY(CellAngle), PROPERTY(CellValue), PROPERTY(CellErrFrom),
             PROPERTY(CellErrLen), PROPERTY(CellText))

TBaseCellGraphic::~TBaseCellGraphic() {
    FreeOwned();
}

void TBaseCellGraphic::FreeOwned() {
    switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (FCellCreated)
            delete FCellBitmap;
        break;
    case ctIcon:
        if (FCellCreated)
            delete FCellIcon;
        break;
    case ctImages:
    case ctBalloon:
        delete FCellBitmap;
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
        if (FCellBalloon)
            delete FCellBitmap;
        break;
    default:
        break;
    }
    // What is left is either freed now or the caller's: another kind must not read it as its own.
    FCellBitmap = nullptr;
    FCellIcon = nullptr;
    FCellCreated = false;
    FCellBalloon = false;
}

void TBaseCellGraphic::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TBaseCellGraphic*>(Source);
    if (other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FCellType = other->FCellType;
    FCellVAlign = other->FCellVAlign;
    FCellHAlign = other->FCellHAlign;
    FCellIndex = other->FCellIndex;
    FCellTransparent = other->FCellTransparent;
    FCellValue = other->FCellValue;
    FCellAngle = other->FCellAngle;
    FCellBoolean = other->FCellBoolean;
    FCellErrFrom = other->FCellErrFrom;
    FCellErrLen = other->FCellErrLen;
    FCellText = other->FCellText;
    FCellCreated = other->FCellCreated;
    // The colours are plain values: a progress bar or shape copied keeps its colours.
    FCellColor = other->FCellColor;
    FCellColorTo = other->FCellColorTo;
}

void TBaseCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctBitmap;
    FCellBitmap = ABmp;
    FCellTransparent = Transparent;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctIcon;
    FCellIcon = aicon;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetImageIdx(Integer idx, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctImageList;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetDataImage(Integer idx, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctDataImage;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetMultiImage(Integer Col, Integer Row, Integer dir, TCellHAlign hal, TCellVAlign val,
                                     TImageChangeEvent Notifier) {
    FCellType = ctImages;
    FCellBoolean = dir == 0;
    auto list = std::make_unique<TIntList>(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap = list.release();
    FCellCreated = true;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                  Integer padding, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctPicture;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = StretchMode;
    FCellIndex = padding;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
    FCellType = Data ? ctDataCheckBox : ctCheckBox;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    FCellType = ctTriStateCheckBox;
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val,
                                      TRadioButtonGroup Group) {
    FCellType = ctRadioButton;
    FCellAngle = Group;
    FCellBoolean = Value;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetButton(Integer bw, Integer bh, const String& caption, TCellHAlign hal,
                                 TCellVAlign val) {
    FCellType = ctButton;
    // In unsigned arithmetic: a height of 32768 or more must not shift into the sign bit undefined.
    FCellIndex =
        static_cast<Integer>((static_cast<Cardinal>(bh) << 16) | (static_cast<Cardinal>(bw) & 0xFFFF));
    FCellBoolean = false;
    FCellText = caption;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetBitButton(Integer bw, Integer bh, const String& caption, TBitmap* Glyph,
                                    TCellHAlign hal, TCellVAlign val) {
    SetButton(bw, bh, caption, hal, val);
    FCellType = ctBitButton;
    FCellBitmap = Glyph;
}

void TBaseCellGraphic::SetAngle(SmallInt AAngle) {
    Integer angle = AAngle;
    while (angle < 0)
        angle += 360;
    while (angle > 360)
        angle -= 360;
    FCellType = ctRotated;
    FCellAngle = angle;
}

void TBaseCellGraphic::SetInterfacedCell(TInterfacedPersistent* AObject) {
    FCellType = ctInterface;
    FCellBitmap = AObject;
}

// ---- TCellGraphic

DEFINE_CLASS(TCellGraphic, PROPERTY(CellComment), PROPERTY(CommentColor))

void TCellGraphic::Assign(TPersistent* Source) {
    TBaseCellGraphic::Assign(Source);
    if (auto* other = dynamic_cast<TCellGraphic*>(Source)) {
        FCommentColor = other->FCommentColor;
        FCellComment = other->FCellComment;
    }
}

// ---- TCellNode

DEFINE_CLASS(TCellNode, PROPERTY(Color), PROPERTY(NodeType), PROPERTY(NodeColor), PROPERTY(ExpandOne),
             PROPERTY(ShowTree), PROPERTY(ShowTreeFull), PROPERTY(NodeIndent), PROPERTY(TreeColor))

TCellNode::TCellNode(TAdvStringGrid* AOwner)
    : FOwner(AOwner), FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>()) {
}

TCellNode::~TCellNode() = default;

void TCellNode::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TCellNode*>(Source);
    if (other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FColor = other->FColor;
    FExpandOne = other->FExpandOne;
    FNodeType = other->FNodeType;
    FNodeColor = other->FNodeColor;
    FNodeIndent = other->FNodeIndent;
    FExpandGlyph->Assign(other->FExpandGlyph.get());
    FContractGlyph->Assign(other->FContractGlyph.get());
    FShowTree = other->FShowTree;
    FShowTreeFull = other->FShowTreeFull;
    FTreeColor = other->FTreeColor;
}

void TCellNode::Changed() {
    if (FOwner != nullptr)
        FOwner->Invalidate();
}

void TCellNode::SetNodeType(TNodeType value) {
    if (FNodeType == value)
        return;
    FNodeType = value;
    Changed();
}

void TCellNode::SetShowTree(bool value) {
    if (FShowTree == value)
        return;
    FShowTree = value;
    Changed();
}

void TCellNode::SetShowTreeFull(bool value) {
    if (FShowTreeFull == value)
        return;
    FShowTreeFull = value;
    Changed();
}

void TCellNode::SetNodeIndent(Integer value) {
    if (FNodeIndent == value)
        return;
    FNodeIndent = value;
    Changed();
}

void TCellNode::SetTreeColor(TColor value) {
    if (FTreeColor == value)
        return;
    FTreeColor = value;
    Changed();
}

// ---- TSizeWhileTyping

DEFINE_CLASS(TSizeWhileTyping, PROPERTY(Height).Default(false), PROPERTY(Width).Default(false))

void TSizeWhileTyping::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TSizeWhileTyping*>(Source);
    if (other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FHeight = other->FHeight;
    FWidth = other->FWidth;
}

// ---- The grid's plumbing

TCellGraphic* TAdvStringGrid::GetCellGraphic(Integer ACol, Integer ARow) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) {
        TCellGraphic* shared = FCellGraphic.get();
        shared->SetCellType(ctRowCheckBox);
        if (ARow == 0) {
            const Integer selected = FSelectedRows->Count();
            const Integer dataRows = RowCount() - FixedRows();
            shared->SetCellAngle(selected > 0 && selected < dataRows ? 1 : 0);
            shared->SetCellBoolean(selected >= dataRows);
        } else {
            shared->SetCellAngle(0);
            shared->SetCellBoolean(GetRowSelect(RealRowIndex(ARow)));
        }
        shared->SetCellTransparent(FControlLook->ControlStyle() == AdvGrid::csFlat);
        return shared;
    }
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

TCellGraphic* TAdvStringGrid::CreateCellGraphic(Integer ACol, Integer ARow) {
    // The cell's own object, not the shared row check box GetCellGraphic may answer for column 0.
    auto* old = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    auto created = std::make_unique<TCellGraphic>();
    SetGraphicObjectEx(ACol, ARow, created.get());
    TCellGraphic* graphic = created.release();
    if (old != nullptr && old != graphic && old->CellType() != ctVirtCheckBox &&
        old->CellType() != ctRowCheckBox)
        delete old;
    if (FNumHidden > 0 && DisplColIndex(ACol) != ACol)
        RepaintCell(ACol, ARow);
    return graphic;
}

bool TAdvStringGrid::RemoveCellGraphic(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return false;
    // The shared row check box stands in front of the cell's own object; taking it out must neither
    // free it nor lose the cell's object unfreed.
    if (graphic != FCellGraphic.get()) {
        SetGraphicObjectEx(ACol, ARow, nullptr);
        if (graphic->CellType() != ctVirtCheckBox && graphic->CellType() != ctRowCheckBox)
            delete graphic;
    }
    if (!ComponentState().Contains(csDestroying))
        RepaintCell(ACol, ARow);
    return true;
}

bool TAdvStringGrid::RemoveCellGraphicOfType(Integer ACol, Integer ARow, TCellType CellType) {
    if (GetCellType(ACol, ARow) != CellType)
        return false;
    return RemoveCellGraphic(ACol, ARow);
}

bool TAdvStringGrid::CellTypeInSet(Integer ACol, Integer ARow, TCellTypes Kinds) {
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    TCellGraphic* graphic = GetCellGraphic(base.X, base.Y);
    return graphic != nullptr && Kinds.Contains(graphic->CellType());
}

TCellType TAdvStringGrid::GetCellType(Integer ACol, Integer ARow) {
    if (ACol < 0 || ARow < 0)
        return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        return ctRowCheckBox;
    auto* graphic = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return graphic != nullptr ? graphic->CellType() : ctEmpty;
}
