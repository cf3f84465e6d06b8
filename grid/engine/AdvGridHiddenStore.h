// The full string grid's hidden-row store: one record per row taken out of the grid, all held in one
// array, so that hiding or showing many rows costs a pass over them rather than an object each.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/Grids.h"
#include "platform/rtl/Strings.h"

// One hidden row: its real index, height and filter level, its flags (modified, enabled, selected)
// and its cells. The cells stay in the grid's own row storage, taken out whole, until someone asks for
// them as a string list; the property records among them are the grid's to free, never the record's.
class THiddenRow {
public:
    THiddenRow() = default;
    THiddenRow(THiddenRow&&) noexcept = default;
    THiddenRow& operator=(THiddenRow&&) noexcept = default;
    ~THiddenRow() = default;

    // The row's real index. Rows hidden by a filter level keep their real index too, not their
    // displayed one at that level, so that records of every origin place their rows alike and showing
    // any of them in any order puts each row back where it was.
    Integer Idx() const { return FIdx; }
    void SetIdx(Integer value) { FIdx = value; }
    // The row's height when it was hidden; 0 when none was kept.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer value) { FHeight = value; }
    // The filter level that hid the row; 0 for rows hidden otherwise.
    Integer Level() const { return FLevel; }
    void SetLevel(Integer value) { FLevel = value; }
    // Hidden by a filter level: the first level is 0 as well, so the level alone cannot tell.
    bool Filtered() const { return FFiltered; }

    // The row's cells as a string list: one string per stored column the grid had when the row was
    // hidden (more when cells lie further right), each with its cell's object slot (the property
    // record) as object. The list is made on the first call and is the row from then on: what is
    // written into it comes back with the row.
    TStrings* Items();
    // Copies the given strings and objects into the list.
    void SetItems(TStrings* value);
    // The same cells read without making the list.
    Integer Count() const;
    String Strings(Integer index) const;
    TObject* Objects(Integer index) const;

private:
    friend class TAdvStringGrid;

    // What few records carry, apart so that the records stay small: every pass over many hidden rows
    // reads them all.
    struct TExtras {
        std::unique_ptr<TStringList> items; // the row's cells, once asked for as a list
        // The row's entries in the modified flags, the enabled flags and the disjunct row selection,
        // as those lists store them.
        void* rowFlags[3] = {};
    };
    TStringList* ItemsList() const { return FExtras ? FExtras->items.get() : nullptr; }
    void* RowFlag(int slot) const { return FExtras ? FExtras->rowFlags[slot] : nullptr; }
    void SetRowFlag(int slot, void* value);

    Integer FIdx = 0;
    Integer FHeight = 0;
    Integer FLevel = 0;
    Integer FColumns = 0;                         // the stored columns when the row was hidden
    bool FFiltered = false;                       // hidden by a filter level
    std::unique_ptr<TStringGrid::CellRow> FCells; // the row's storage, until Items makes the list
    std::unique_ptr<TExtras> FExtras;
};

// The records in one array. Pointers to records hold until the store changes.
class THiddenRows {
public:
    Integer Count() const { return static_cast<Integer>(FRows.size()); }
    // EListError "List index out of bounds (%d)" outside the store.
    THiddenRow* Items(Integer index);
    const THiddenRow* Items(Integer index) const;
    std::vector<THiddenRow>& Rows() { return FRows; }
    const std::vector<THiddenRow>& Rows() const { return FRows; }

private:
    std::vector<THiddenRow> FRows;
};
