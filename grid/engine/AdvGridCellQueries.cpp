// What a cell's content is and how much room it takes: emptiness, the size of the cell's object when the
// cell is measured or printed, where its in-cell control was drawn, its images, and the values of the
// mini-HTML form controls in its text.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"
#include "render/AsgHTMLE.h"

namespace {

const TCellTypes CheckKinds = {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox};

// The button size packed into FCellIndex: the width in the low 16 bits, the height in the high ones.
Integer PackedLow(Integer packed) {
    return static_cast<Integer>(static_cast<Cardinal>(packed) & 0xFFFF);
}

Integer PackedHigh(Integer packed) {
    return static_cast<Integer>(static_cast<Cardinal>(packed) >> 16);
}

bool IsBeside(const TCellGraphic& graphic) {
    return graphic.CellHAlign() == haBeforeText || graphic.CellHAlign() == haAfterText;
}

bool IsOver(const TCellGraphic& graphic) {
    return graphic.CellVAlign() == vaUnderText || graphic.CellVAlign() == vaAboveText;
}

TPoint ImageListSize(TCustomImageList* images) {
    return images != nullptr ? TPoint(images->Width(), images->Height()) : TPoint(0, 0);
}

// The size of a radio list's options on the canvas: each option is its text and 12 pixels of button,
// stacked (vertical) or side by side; a vertical option is at least MinOptionHeight high.
TPoint RadioOptionsSize(TCanvas* canvas, const TCellGraphic& graphic, Integer MinOptionHeight) {
    auto* options = dynamic_cast<TStrings*>(graphic.CellBitmap());
    const Integer count = options != nullptr ? options->Count() : 0;
    const Integer lineHeight = canvas->TextHeight(u"gh");
    if (graphic.CellBoolean()) {
        Integer width = 0;
        for (Integer i = 0; i < count; ++i)
            width += canvas->TextWidth(options->Strings(i)) + 12;
        return TPoint(width, lineHeight);
    }
    Integer width = 12;
    for (Integer i = 0; i < count; ++i)
        width = std::max(width, canvas->TextWidth(options->Strings(i)) + 12);
    return TPoint(width, std::max(MinOptionHeight, lineHeight) * count);
}

TPoint MultiImageSize(const TCellGraphic& graphic, TCustomImageList* images) {
    auto* list = dynamic_cast<TIntList*>(graphic.CellBitmap());
    const Integer count = list != nullptr ? list->Count() : 0;
    const TPoint image = ImageListSize(images);
    return graphic.CellBoolean() ? TPoint(count * image.X, image.Y) : TPoint(image.X, count * image.Y);
}

// A scaled side, halves to the even neighbour.
Integer RoundSide(double value) {
    return static_cast<Integer>(Round(value));
}

} // namespace

// ---- The picture's drawn size

void TBaseCellGraphic::GetPictureSize(Integer cw, Integer rh, bool /*hastext*/, TPoint& Size) const {
    Integer w = 0;
    Integer h = 0;
    if (FCellType == ctPicture) {
        auto* picture = dynamic_cast<TPicture*>(FCellBitmap);
        w = picture != nullptr ? picture->Width() : 0;
        h = picture != nullptr ? picture->Height() : 0;
    } else if (FCellType == ctFilePicture) {
        auto* picture = dynamic_cast<TFilePicture*>(FCellBitmap);
        w = picture != nullptr ? picture->Width() : 0;
        h = picture != nullptr ? picture->Height() : 0;
    } else {
        return;
    }
    cw -= FCellIndex;
    rh -= FCellIndex;
    // Fits the picture's aspect into the area, each factor limited to Limit.
    auto aspect = [&](double Limit) {
        double fx = w > 0 ? static_cast<double>(cw) / w : 1;
        double fy = h > 0 ? static_cast<double>(rh) / h : 1;
        fx = std::min(fx, Limit);
        fy = std::min(fy, Limit);
        if (fx >= fy)
            Size = TPoint(RoundSide(w * fy), rh);
        else
            Size = TPoint(cw, RoundSide(h * fx));
    };
    switch (FCellAngle) {
    case Stretch:
        Size = TPoint(cw, rh);
        break;
    case Shrink:
        Size = w > cw || h > rh ? TPoint(cw, rh) : TPoint(w, h);
        break;
    case StretchWithAspectRatio:
        aspect(std::numeric_limits<double>::infinity());
        break;
    case ShrinkWithAspectRatio:
        if (w <= cw && h <= rh)
            Size = TPoint(w, h);
        else
            aspect(1);
        break;
    default: // noStretch, and any value beyond the modes
        Size = TPoint(w, h);
        break;
    }
}

// ---- Kind and emptiness

bool TAdvStringGrid::GetCellEmpty(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return graphic == nullptr || (graphic->CellType() == ctNone && graphic->CellComment().empty());
}

// ---- Sizes

TPoint TAdvStringGrid::GetCellGraphicSize(Integer ACol, Integer ARow) {
    return GetCellGraphicExtent(ACol, ARow, 0);
}

TPoint TAdvStringGrid::GetCellGraphicExtent(Integer ACol, Integer ARow, Integer Reserve) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return TPoint(0, 0);
    const TCellType kind = graphic->CellType();
    const bool hasText = !GetCellEx(ACol, ARow).empty();
    const bool beside = IsBeside(*graphic);
    const bool over = IsOver(*graphic);
    TCanvas* canvas = Canvas();
    TPoint size(0, 0);
    bool widthExempt = false; // the width stays as the kind made it even when the object fills the cell

    if (kind == ctBitmap) {
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic->CellBitmap())) {
            size.X = beside || !hasText ? bitmap->Width() : 0;
            size.Y = over || !hasText ? bitmap->Height() : 0;
        }
    } else if (kind == ctIcon) {
        if (TIcon* icon = graphic->CellIcon()) {
            size.X = beside || !hasText ? icon->Width() : 0;
            size.Y = icon->Height();
        }
    } else if (kind == ctImageList || kind == ctDataImage) {
        const TPoint image = ImageListSize(GetCellImageList(ACol, ARow));
        size.X = beside || !hasText ? image.X : 0;
        size.Y = over || !hasText ? image.Y : 0;
    } else if (CheckKinds.Contains(kind)) {
        size = TPoint(FControlLook->CheckSize(), FControlLook->CheckSize());
    } else if (kind == ctRadioButton) {
        size = TPoint(FControlLook->RadioSize(), FControlLook->RadioSize());
    } else if (kind == ctRadio) {
        size = RadioOptionsSize(canvas, *graphic, 16);
    } else if (kind == ctImages) {
        size = MultiImageSize(*graphic, GetCellImageList(ACol, ARow));
    } else if (kind == ctPicture || kind == ctFilePicture) {
        const TPoint cell = CellSize(ACol, ARow);
        graphic->GetPictureSize(cell.X - 1 - XYOffsetTotalX(), cell.Y - 1 - XYOffsetTotalY() - Reserve,
                                hasText, size);
    } else if (kind == ctButton || kind == ctBitButton) {
        size = TPoint(PackedLow(graphic->CellIndex()), PackedHigh(graphic->CellIndex()));
        const String caption = graphic->CellText();
        if (!hasText) {
            if (graphic->CellHAlign() == haFull) {
                canvas->Font()->Assign(Font());
                size.X = canvas->TextWidth(caption) + 4;
                widthExempt = !caption.empty();
            }
        } else {
            if (graphic->CellHAlign() == haCenter)
                size.X = 0;
            else if (graphic->CellHAlign() == haFull)
                size.X = canvas->TextWidth(caption) + 4;
            if (over)
                size.X = 0;
            else
                size.Y = 0;
        }
    } else if (kind == ctProgressPie) {
        size = TPoint(20, 20);
    } else if (kind == ctInterface) {
        IGridCellObject* cell = nullptr;
        if (Supports(graphic->CellBitmap(), IID_IGridCellObject, cell))
            size = TPoint(cell->GetWidth(), cell->GetHeight());
        // An object that cannot tell its size takes the whole cell.
        if (cell == nullptr || size.X == 0 || size.Y == 0)
            size = CellSize(ACol, ARow);
    } else if (kind == ctShape) {
        size = TPoint(DefaultRowHeight() - 4, DefaultRowHeight() - 4);
    } else if (kind == ctRating) {
        size = TPoint(graphic->CellAngle() * 18, 16);
        widthExempt = true;
    }

    const bool fullWidth = graphic->CellHAlign() == haFull && !widthExempt;
    if (graphic->CellVAlign() == vaFull || fullWidth) {
        const TRect cell = CellRect(DisplColIndex(ACol), ARow);
        if (graphic->CellVAlign() == vaFull)
            size.Y = cell.Height();
        if (fullWidth)
            size.X = cell.Width();
    }
    return size;
}

TPoint TAdvStringGrid::GetCellGraphicLayoutSize(Integer ACol, Integer ARow, Integer Width, Integer Height,
                                                Integer /*Reserved1*/, Integer /*Reserved2*/) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return TPoint(0, 0);
    const TCellType kind = graphic->CellType();
    TPoint size(0, 0);
    if (kind == ctBitmap) {
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic->CellBitmap()))
            size = TPoint(bitmap->Width(), bitmap->Height());
    } else if (kind == ctIcon) {
        if (TIcon* icon = graphic->CellIcon())
            size = TPoint(icon->Width(), icon->Height());
    } else if (kind == ctImageList) {
        const TPoint image = ImageListSize(GetCellImageList(ACol, ARow));
        const bool hasText = !GetCellEx(ACol, ARow).empty();
        size = TPoint(IsBeside(*graphic) || !hasText ? image.X : 0, image.Y);
    } else if (kind == ctDataImage) {
        size = ImageListSize(GetCellImageList(ACol, ARow));
    } else if (CheckKinds.Contains(kind)) {
        size = TPoint(FControlLook->CheckSize(), FControlLook->CheckSize());
    } else if (kind == ctRadioButton) {
        size = TPoint(FControlLook->RadioSize(), FControlLook->RadioSize());
    } else if (kind == ctNode || kind == ctProgressPie) {
        size = TPoint(20, 20);
    } else if (kind == ctRadio) {
        size = RadioOptionsSize(Canvas(), *graphic, 0);
    } else if (kind == ctImages) {
        size = MultiImageSize(*graphic, GetCellImageList(ACol, ARow));
    } else if (kind == ctPicture || kind == ctFilePicture) {
        graphic->GetPictureSize(Width, Height, false, size);
    } else if (kind == ctProgress || kind == ctXPProgress) {
        size = TPoint(ColWidths(DisplColIndex(ACol)), RowHeights(ARow));
    } else if (kind == ctButton || kind == ctBitButton) {
        size = TPoint(PackedLow(graphic->CellIndex()), PackedHigh(graphic->CellIndex()));
    } else if (kind == ctInterface) {
        IGridCellObject* cell = nullptr;
        if (Supports(graphic->CellBitmap(), IID_IGridCellObject, cell)) {
            size = TPoint(cell->GetWidth(), cell->GetHeight());
            if (size.X == 0 || size.Y == 0) {
                const TRect rect = CellRect(DisplColIndex(ACol), ARow);
                if (size.X == 0)
                    size.X = rect.Width();
                if (size.Y == 0)
                    size.Y = rect.Height();
            }
        }
    } else if (kind == ctShape) {
        const Integer side = RowHeights(ARow) - 2 * FXYOffset.Y;
        size = TPoint(side, side);
    }
    return size;
}

TRect TAdvStringGrid::GetCellControlRect(Integer ACol, Integer ARow) {
    if (ACol < 0 || ARow < 0)
        return TRect(0, 0, 0, 0);
    TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
    if (graphic == nullptr)
        return TRect(0, 0, 0, 0);
    const TRect cell = CellRect(ACol, ARow);
    // Painting stores where it drew the control as x in the low and y in the high 16 bits; a value no
    // painter wrote reads as the cell's corner rather than overflowing.
    const double stored = graphic->CellValue();
    const Integer offset = std::isfinite(stored) && std::fabs(stored) < 2147483647.0 ? RoundSide(stored) : 0;
    TRect rect;
    rect.Left = cell.Left + PackedLow(offset);
    rect.Top = cell.Top + PackedHigh(offset);
    rect.Right = rect.Left + PackedLow(graphic->CellIndex());
    rect.Bottom = rect.Top + PackedHigh(graphic->CellIndex());
    if (graphic->CellVAlign() == vaFull) {
        rect.Top = cell.Top;
        rect.Bottom = cell.Bottom;
    }
    if (graphic->CellHAlign() == haFull) {
        rect.Left = cell.Left;
        rect.Right = cell.Right;
    }
    return rect;
}

// ---- Images

TCustomImageList* TAdvStringGrid::GetCellImageList(Integer /*ACol*/, Integer /*ARow*/) {
    return FGridImages;
}

TIntList* TAdvStringGrid::GetCellImages(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctImages)
        return nullptr;
    return dynamic_cast<TIntList*>(graphic->CellBitmap());
}

Integer TAdvStringGrid::GetCellGraphicKey(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return -1;
    // References compare by their low 32 bits: a key only orders cells, it is never turned back.
    auto key = [](const void* object) {
        return static_cast<Integer>(static_cast<Cardinal>(reinterpret_cast<std::uintptr_t>(object)));
    };
    switch (graphic->CellType()) {
    case ctBitmap:
        return key(graphic->CellBitmap());
    case ctIcon:
        return key(graphic->CellIcon());
    case ctImageList:
        return graphic->CellIndex();
    default:
        return -1;
    }
}

// ---- Form controls in the cell text

// The stored text of the cell's base cell, not the displayed one: display events and link markup must
// never be written back into the cell.
String TAdvStringGrid::GetCtrlVal(Integer ACol, Integer ARow, const String& ID) {
    const TPoint base = BaseCell(ACol, ARow);
    String value;
    if (!ReadControlValue(GridCells(base.X, base.Y), ID, value))
        return String();
    return value;
}

void TAdvStringGrid::SetCtrlVal(Integer ACol, Integer ARow, const String& ID, const String& Value) {
    const TPoint base = BaseCell(ACol, ARow);
    String text = GridCells(base.X, base.Y);
    if (WriteControlValue(text, ID, Value))
        SetCells(base.X, base.Y, text);
}

// ---- The sort indicator's cell

bool TAdvStringGrid::IsSortIndicatorCell(Integer /*ACol*/, Integer /*ARow*/) {
    return false;
}
