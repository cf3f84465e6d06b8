// The grid's filter conditions, the filter drop-down and filter row, and the lists and transparent
// editors they show.
#pragma once

#include "platform/framework/Collection.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Persistent.h"

ZELMOR_ENUM(TFilterOperation, foSHORT, foNONE, foAND, foXOR, foOR)
ZELMOR_ENUM(TFilterCells, fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow)
ZELMOR_ENUM(TFilterMethod, fmExpression, fmLiteral)
ZELMOR_ENUM(TFilterType, ftStartsWith, ftEndsWith, ftContains, ftNotContains, ftEqual, ftNotEqual, ftClear,
            ftNone)

// One condition of the grid's row filter: the column it tests, the condition text and how the cell's
// text is read and the result combined with the conditions before it.
class TFilterData : public TCollectionItem {
    DECLARE_CLASS(TFilterData, TCollectionItem)

public:
    explicit TFilterData(TCollection* collection) : TCollectionItem(collection) {}

    // Copies Column, Condition, CaseSensitive, Data, Prefix, Suffix, Operation and RemoveAccented from
    // another TFilterData (not Method, Enabled, FilterType or FriendlyName); other sources are ignored.
    void Assign(TPersistent* source) override;

    // The column is kept as a 16-bit value; -1 stands for the whole row.
    Integer Column() const { return FColumn; }
    void SetColumn(Integer value) { FColumn = static_cast<SmallInt>(value); }
    const String& Condition() const { return FCondition; }
    void SetCondition(const String& value) { FCondition = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& value) { FSuffix = value; }
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& value) { FPrefix = value; }
    // The text the filter drop-down shows for the condition; not published.
    const String& FriendlyName() const { return FFriendlyName; }
    void SetFriendlyName(const String& value) { FFriendlyName = value; }
    TFilterOperation Operation() const { return FOperation; }
    void SetOperation(TFilterOperation value) { FOperation = value; }
    TFilterCells Data() const { return FData; }
    void SetData(TFilterCells value) { FData = value; }
    TFilterMethod Method() const { return FMethod; }
    void SetMethod(TFilterMethod value) { FMethod = value; }
    // The kind of test a typed value stands for; not published.
    TFilterType FilterType() const { return FFilterType; }
    void SetFilterType(TFilterType value) { FFilterType = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool RemoveAccented() const { return FRemoveAccented; }
    void SetRemoveAccented(bool value) { FRemoveAccented = value; }

    // Condition from a typed value and FilterType; a value holding a space is put in double quotes.
    // ftClear and ftNone leave the condition as it is.
    void BuildCondition(const String& s);

private:
    SmallInt FColumn = 0;
    String FCondition;
    bool FCaseSensitive = true;
    String FSuffix;
    String FPrefix;
    String FFriendlyName;
    TFilterOperation FOperation = foSHORT;
    TFilterCells FData = fcVirtual;
    TFilterMethod FMethod = fmExpression;
    TFilterType FFilterType = ftStartsWith;
    bool FEnabled = true;
    bool FRemoveAccented = false;
};

// The grid's row filter: its conditions in the order they are evaluated. The owner is the grid, which
// it does not own.
class TFilter : public TOwnedCollection {
    DECLARE_CLASS(TFilter, TOwnedCollection)

public:
    explicit TFilter(TComponent* AOwner);

    // A new condition at the end: foNONE when it is the only one, foAND otherwise.
    TFilterData* Add();
    // A new condition at the end as the plain collection adds it; the index is not used and the
    // operation stays foSHORT.
    TFilterData* Insert(Integer index);
    TFilterData* Items(Integer index) const {
        return static_cast<TFilterData*>(TOwnedCollection::Items(index));
    }
    // Writing assigns.
    void SetItems(Integer index, TFilterData* value) { TOwnedCollection::SetItems(index, value); }
    // The first condition of the column, added (foNONE or foAND) when the column has none.
    TFilterData* GetColFilter(Integer Col);
    bool HasFilter(Integer Col) const;
    // A condition of another column exists.
    bool HasOtherFilter(Integer Col) const;
    // The FilterType of the column's first condition; ftContains when it has none.
    TFilterType HasFilterType(Integer Col) const;
    // Deletes every condition of the column and repaints the grid.
    void RemoveColumnFilter(Integer Col);

private:
    TComponent* FOwner;
};

// FIXME: holds only the texts of the checked and unchecked entries.
class TFilterDropDown : public TPersistent {
    DECLARE_CLASS(TFilterDropDown, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        auto* source = dynamic_cast<TFilterDropDown*>(Source);
        if (source == nullptr) {
            TPersistent::Assign(Source);
            return;
        }
        FTextChecked = source->FTextChecked;
        FTextUnChecked = source->FTextUnChecked;
    }
    String TextChecked() const { return FTextChecked; }
    void SetTextChecked(const String& value) { FTextChecked = value; }
    String TextUnChecked() const { return FTextUnChecked; }
    void SetTextUnChecked(const String& value) { FTextUnChecked = value; }

private:
    String FTextChecked;
    String FTextUnChecked;
};

// FIXME: holds only the filter row's index, stored without repainting; the grid creates it.
class TFilterEdit : public TPersistent {
    DECLARE_CLASS(TFilterEdit, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        auto* source = dynamic_cast<TFilterEdit*>(Source);
        if (source == nullptr) {
            TPersistent::Assign(Source);
            return;
        }
        FRow = source->FRow;
    }
    explicit TFilterEdit(TComponent* /*AOwner*/) {}
    // The row whose cells hold the typed filter values.
    Integer Row() const { return FRow; }
    void SetRow(Integer Value) { FRow = Value; }

private:
    Integer FRow = 0;
};

// FIXME: lists nothing yet.
class TDropList : public TCustomControl {
    DECLARE_CLASS(TDropList, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: lists nothing yet.
class TDropCheckList : public TCustomControl {
    DECLARE_CLASS(TDropCheckList, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridTransEdit : public TCustomControl {
    DECLARE_CLASS(TGridTransEdit, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridTransCombo : public TCustomControl {
    DECLARE_CLASS(TGridTransCombo, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
