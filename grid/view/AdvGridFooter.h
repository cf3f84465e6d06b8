// The grid's floating footer settings and the panel that shows the footer row.
#pragma once

#include <functional>

#include "grid/engine/BaseGrid.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/rtl/Persistent.h"

class TAdvStringGrid;

// What the floating footer shows: the grid's last row kept in view, the current row's value of one
// column, a template filled from the current row, or what OnPaintFooter paints.
ZELMOR_ENUM(TFooterStyle, fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint)

// A custom footer value; Value starts empty and becomes the footer cell's text.
using TCalcFooterEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TFooterPaintEvent =
    std::function<void(TObject* Sender, Integer AColumn, TCanvas* Canvas, const TRect& ARect)>;

// The floating footer's settings. The grid owns it; changes show at once on the grid and its panel.
class TFloatingFooter : public TPersistent {
    DECLARE_CLASS(TFloatingFooter, TPersistent)

public:
    explicit TFloatingFooter(TComponent* AOwner);

    // Copies CalculateHiddenRows, Color, Column, CustomTemplate and FooterStyle (the style without its
    // row changes), then Visible through its setter, then ShowHint; from the same class only.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    // Showing it sizes the panel to Height - 1, keeps the grid's last row in the panel with
    // fsFixedLastRow, and adds one row to the grid for the other styles (taken away again on hiding).
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // clNone draws no line along the panel's top.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    // The column fsColumnPreview shows and OnPaintFooter is given.
    Integer Column() const { return FColumn; }
    void SetColumn(Integer Value);
    // Text in which "<#n>" stands for column n of the current row (fsCustomPreview).
    const String& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const String& Value);
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    // The panel is one pixel lower; the grid's default row height sets it.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer Value);
    // The calculation of column c, kept in the record of c's cell in the last row: reading never makes a
    // record (acNONE without one); writing makes it and recalculates the column.
    TColumnCalcType ColumnCalc(Integer c) const;
    void SetColumnCalc(Integer c, TColumnCalcType Value);
    // Repaints the panel.
    void Invalidate();
    // The footer added one row to the grid (styles other than fsFixedLastRow).
    bool DidInc() const { return FDidInc; }

    TCalcFooterEvent OnCalcFooter;

private:
    TAdvStringGrid* Grid() const;
    // Adds or takes back the row of the styles that show no grid row.
    void UpdateExtraRow();

    TComponent* FOwner;
    bool FVisible = false;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    TColor FColor = clBtnFace;
    TColor FBorderColor = clNone;
    Integer FColumn = 0;
    String FCustomTemplate;
    bool FCalculateHiddenRows = true;
    bool FShowHint = false;
    bool FEnableCalculation = true;
    Integer FHeight = 22;
    bool FDidInc = false;
};

// The strip at the bottom of the grid that shows the floating footer. Its owner is the grid.
class TFooterPanel : public TCustomPanel {
    DECLARE_CLASS(TFooterPanel, TCustomPanel)

public:
    // Raises EInvalidCast unless AOwner is a TAdvStringGrid.
    explicit TFooterPanel(TComponent* AOwner);

    // The column under a client X, -1 when there is none.
    Integer ColumnAt(Integer X);
    // The hint's column, -1 while none shows.
    Integer LastHintX() const { return FLastHintX; }

protected:
    void CreateWnd() override;
    void Paint() override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& Message) override;

private:
    // Each style paints and answers the right end of what it drew.
    Integer PaintFixedLastRow(Integer usedWidth);
    Integer PaintPreview(Integer usedWidth, bool customTemplate);
    // The expanded template through the mini-HTML renderer.
    void PaintTemplate(const String& Text, const TRect& Rect);
    // The fixed columns' and the columns' from the left column on widths.
    Integer UsedWidth();
    // A rectangle as given, or mirrored within the client width right to left.
    TRect Oriented(const TRect& rect);

    TAdvStringGrid* FGrid;
    Integer FLastHintX = -1;
};

// The template with each "<#n>" replaced by the text of column n in the current row; a tag without a
// number gives nothing, and a "<#" without its ">" ends the tags, the rest kept as text.
String ExpandFooterTemplate(TAdvStringGrid* Grid, const String& Template);
