// The cell objects: the small records that make a cell a check box, a node, a picture, a bar, a button
// and so on, their kinds and placements, the interface of interfaced cells, and the settings the grid
// owns for them (the look of outline nodes, sizing while typing).
#pragma once

#include <functional>
#include <memory>

#include "grid/engine/AdvObj.h"
#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Interfaced.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/Persistent.h"

class TAdvStringGrid;

// The kind of a cell object, stored as one byte in the binary cell stream, so the values are fixed. ctEmpty
// is what the type query answers for a cell without an object; ctNone is the kind of a new object.
ZELMOR_ENUM(TCellType, ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated,
            ctDataImage, ctNode, ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress,
            ctComment, ctButton, ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary,
            ctRangeIndicator, ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon, ctShape,
            ctRating, ctTriStateCheckBox, ctExpand)
using TCellTypes = TSet<TCellType>;

// Where the object sits in its cell. Before and after text, under and above text share the cell with the
// text; full stretches the object over the cell in that direction.
ZELMOR_ENUM(TCellHAlign, haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull)
ZELMOR_ENUM(TCellVAlign, vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull)
ZELMOR_ENUM(TStretchMode, noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio)
ZELMOR_ENUM(TRadioButtonGroup, rgNone, rgCol, rgRow)
ZELMOR_ENUM(TBalloonIcon, biNone, biInfo, biWarning, biError)
ZELMOR_ENUM(TNodeType, cnFlat, cn3D, cnGlyph, cnLeaf, cnXP)

// A check box of a cell changed its checked state.
using TCheckBoxChangeEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool State)>;
// A rating cell is about to take NewRate, which the handler may change; Allow false keeps the old rating.
using TRatingChangeEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, double& NewRate, bool& Allow)>;

struct TScrollProp {
    Integer PageSize;
    Integer Range;
};

// The interface the object of a ctInterface cell implements: it draws itself into a cell and tells its
// size in pixels.
inline constexpr IID IID_IGridCellObject = {
    0x0712BE3F, 0x5C9A, 0x4771, {0xBF, 0x71, 0x4C, 0x98, 0x7C, 0xDC, 0x39, 0xB3}};

struct IGridCellObject : IUnknown {
    virtual void Draw(TCanvas* Canvas, const TRect& R, Integer Col, Integer Row, bool Selected,
                      bool Print) = 0;
    virtual Integer GetWidth() = 0;
    virtual Integer GetHeight() = 0;
};

// One cell object. Its fields are plain values whose meaning depends on the kind; the per-kind
// operations of the grid fill them. FCellBitmap and FCellIcon reference the kind's objects (owned only
// where the kind says so, see the destructor); colour values of the colour kinds live in fields of their
// own, so an object reference and a colour never share a slot.
class TBaseCellGraphic : public TPersistent {
    DECLARE_CLASS(TBaseCellGraphic, TPersistent)

public:
    TBaseCellGraphic() = default;
    // Frees by kind: the bitmap, radio list, picture, file picture or glyph when the object created it,
    // the icon likewise, the image list of ctImages and the texts of ctBalloon always, and the balloon
    // texts of a check box or radio button that carries a balloon.
    ~TBaseCellGraphic() override;
    // Frees what the current kind owns, as the destructor would, and forgets the references, so the
    // object can take another kind without leaking or freeing twice.
    void FreeOwned();

    // From another cell object: the kind, placements, index, flags, angle, value, marked range, text and
    // the colour values. Never the referenced objects, FCellVar or the tri-state state; FCellCreated is
    // copied as it is, so a copy of an owning object must not be given an object it does not own.
    void Assign(TPersistent* Source) override;

    // Setters of a kind: each sets the kind and its fields, nothing else.
    void SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(Integer idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(Integer idx, TCellHAlign hal, TCellVAlign val);
    // A new image index list bound to the cell, owned, whose change event is Notifier; dir 0 lays the
    // images out horizontally.
    void SetMultiImage(Integer Col, Integer Row, Integer dir, TCellHAlign hal, TCellVAlign val,
                       TImageChangeEvent Notifier);
    // FCellAngle keeps the stretch mode, FCellIndex the padding.
    void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, Integer padding,
                    TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val, TRadioButtonGroup Group);
    // The size goes into FCellIndex: the width's low 16 bits low, the height shifted up by 16.
    void SetButton(Integer bw, Integer bh, const String& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(Integer bw, Integer bh, const String& caption, TBitmap* Glyph, TCellHAlign hal,
                      TCellVAlign val);
    // The angle is brought into 0 .. 360 by whole turns; 360 stays 360.
    void SetAngle(SmallInt AAngle);
    void SetInterfacedCell(TInterfacedPersistent* AObject);
    // The drawn size of a picture or file picture in an area of cw x rh, by the stretch mode in
    // FCellAngle and the padding in FCellIndex; Size is left alone for every other kind. hastext is not
    // used.
    void GetPictureSize(Integer cw, Integer rh, bool hastext, TPoint& Size) const;

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType value) { FCellType = value; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign value) { FCellVAlign = value; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign value) { FCellHAlign = value; }
    Integer CellIndex() const { return FCellIndex; }
    void SetCellIndex(Integer value) { FCellIndex = value; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool value) { FCellTransparent = value; }
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool value) { FCellCreated = value; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool value) { FCellBoolean = value; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState value) { FCellCheckBoxState = value; }
    Integer CellAngle() const { return FCellAngle; }
    void SetCellAngle(Integer value) { FCellAngle = value; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double value) { FCellValue = value; }
    Integer CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(Integer value) { FCellErrFrom = value; }
    Integer CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(Integer value) { FCellErrLen = value; }
    String CellText() const { return FCellText; }
    void SetCellText(const String& value) { FCellText = value; }

    // The referenced objects and the state value; the per-kind operations and painting use them.
    TObject* CellBitmap() const { return FCellBitmap; }
    void SetCellBitmap(TObject* value) { FCellBitmap = value; }
    TIcon* CellIcon() const { return FCellIcon; }
    void SetCellIcon(TIcon* value) { FCellIcon = value; }
    Integer CellVar() const { return FCellVar; }
    void SetCellVar(Integer value) { FCellVar = value; }
    // The colours of the colour kinds: bar, pie, negative, line or empty colour in the first; background
    // or positive colour in the second.
    TColor CellColor() const { return FCellColor; }
    void SetCellColor(TColor value) { FCellColor = value; }
    TColor CellColorTo() const { return FCellColorTo; }
    void SetCellColorTo(TColor value) { FCellColorTo = value; }
    // A check box, data check box or radio button carries balloon texts in FCellBitmap. A flag of its
    // own: a radio button's FCellAngle is its group, which a balloon must not change.
    bool CellBalloon() const { return FCellBalloon; }
    void SetCellBalloon(bool value) { FCellBalloon = value; }

protected:
    TCellType FCellType = ctNone;
    TObject* FCellBitmap = nullptr; // the kind's object: bitmap, picture, list, interfaced object
    TIcon* FCellIcon = nullptr;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    Integer FCellIndex = 0;        // index, size, colour, span or position, by kind
    bool FCellTransparent = false; // transparent drawing; the flat look of check boxes and radio buttons
    bool FCellCreated = false;     // the object in FCellBitmap or FCellIcon belongs to this cell object
    bool FCellBoolean = false;     // checked, pushed, contracted or layout flag, by kind
    Integer FCellAngle = 0;        // angle, count, group, scale, stretch mode or flag, by kind
    double FCellValue = 0;         // where painting drew a button: x in the low 16 bits, y in the high
    Integer FCellErrFrom = 0;      // marked text range, or minimum or range, by kind
    Integer FCellErrLen = 0;
    String FCellText;
    Integer FCellVar = 0; // expand state (0 or 1), node marker, last chosen radio option
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
    TColor FCellColor = 0;
    TColor FCellColorTo = 0;
    bool FCellBalloon = false; // FCellBitmap holds the balloon texts of a check box or radio button
};

// The cell object stored in cells; it may also carry the cell's comment. The base grid frees an object
// of exactly this class name with its cell's record.
class TCellGraphic : public TBaseCellGraphic {
    DECLARE_CLASS(TCellGraphic, TBaseCellGraphic)

public:
    TCellGraphic() = default;
    // The base's copy, and the comment and its colour from another TCellGraphic.
    void Assign(TPersistent* Source) override;

    String CellComment() const { return FCellComment; }
    void SetCellComment(const String& value) { FCellComment = value; }
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor value) { FCommentColor = value; }

private:
    String FCellComment;
    TColor FCommentColor = 0;
};

// The look of outline nodes. The setters of the drawn settings repaint the grid when the value changed;
// the glyph setters copy the bitmap into the node's own.
class TCellNode : public TPersistent {
    DECLARE_CLASS(TCellNode, TPersistent)

public:
    explicit TCellNode(TAdvStringGrid* AOwner = nullptr);
    ~TCellNode() override;
    // From another TCellNode: every setting, the glyphs by bitmap assignment.
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType value);
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor value) { FNodeColor = value; }
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(TBitmap* value) { FExpandGlyph->Assign(value); }
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(TBitmap* value) { FContractGlyph->Assign(value); }
    bool ExpandOne() const { return FExpandOne; }
    void SetExpandOne(bool value) { FExpandOne = value; }
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool value);
    // Pixels per outline level.
    Integer NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(Integer value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor value);

private:
    void Changed();

    TAdvStringGrid* FOwner;
    TColor FColor = 0x00C0C0C0;
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = 0x00000000;
    std::unique_ptr<TBitmap> FExpandGlyph;
    std::unique_ptr<TBitmap> FContractGlyph;
    bool FExpandOne = false;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    Integer FNodeIndent = 12;
    TColor FTreeColor = 0x00808080;
};

// Whether automatic row and column sizing follows the in-place editor while the user types.
class TSizeWhileTyping : public TPersistent {
    DECLARE_CLASS(TSizeWhileTyping, TPersistent)

public:
    void Assign(TPersistent* Source) override;

    bool Height() const { return FHeight; }
    void SetHeight(bool value) { FHeight = value; }
    bool Width() const { return FWidth; }
    void SetWidth(bool value) { FWidth = value; }

private:
    bool FHeight = false;
    bool FWidth = false;
};
