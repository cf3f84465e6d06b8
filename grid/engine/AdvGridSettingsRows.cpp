// The row carrier that holds a row while it is out of the grid, the grid's background settings, and
// the change notifiers a grid tells of changed cells.
#include "grid/engine/AdvGridSettings.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"

// ---- TGridItem

DEFINE_CLASS(TGridItem, PROPERTY(Idx), PROPERTY(Height), PROPERTY(Items), PROPERTY(Level))

TGridItem::TGridItem(TCollection* collection)
    : TCollectionItem(collection), FItems(std::make_unique<TStringList>()) {}

TGridItem::~TGridItem() = default;

// ---- TBackGround

DEFINE_CLASS(TBackGround, PROPERTY(Top).Default(0), PROPERTY(Left).Default(0),
             PROPERTY(Display).Default(bdTile), PROPERTY(Cells).Default(bcNormal),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clWindow),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clBtnFace), PROPERTY(Bitmap))

TBackGround::TBackGround(TAdvStringGrid* grid) : FGrid(grid), FBitmap(std::make_unique<TBitmap>()) {}

TBackGround::~TBackGround() = default;

void TBackGround::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TBackGround*>(source);
    if (other == nullptr)
        return;
    FTop = other->FTop;
    FLeft = other->FLeft;
    FDisplay = other->FDisplay;
    FBitmap->Assign(other->FBitmap.get());
    FBackgroundCells = other->FBackgroundCells;
    FColor = other->FColor;
    FColorTo = other->FColorTo;
}

// The grid repaints on every write, changed or not: a caller may set a value again to force a repaint.
void TBackGround::Changed() {
    if (OnChange)
        OnChange(this);
}

void TBackGround::SetTop(Integer value) {
    FTop = value;
    Changed();
}

void TBackGround::SetLeft(Integer value) {
    FLeft = value;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay value) {
    FDisplay = value;
    Changed();
}

void TBackGround::SetCells(TBackGroundCells value) {
    FBackgroundCells = value;
    Changed();
}

void TBackGround::SetColorTo(TColor value) {
    FColorTo = value;
    Changed();
}

void TBackGround::SetColor(TColor value) {
    FColor = value;
    Changed();
}

void TBackGround::SetBitmap(TBitmap* value) {
    FBitmap->Assign(value);
    Changed();
}

// ---- TGridChangeNotifier

DEFINE_CLASS(TGridChangeNotifier)

TGridChangeNotifier::TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}

TGridChangeNotifier::~TGridChangeNotifier() = default;

void TGridChangeNotifier::CellsChanged(const TRect&) {}

// ---- TGridChangeNotifierList

// Takes a freed notifier off the list. Free notification is mutual, so a list freed first takes its
// watch off the notifiers' lists.
class TGridChangeNotifierList::TWatch : public TComponent {
public:
    explicit TWatch(TGridChangeNotifierList* list) : TComponent(nullptr), FList(list) {}

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove)
            return;
        auto& items = FList->FItems;
        items.erase(std::remove(items.begin(), items.end(), component), items.end());
    }

private:
    TGridChangeNotifierList* FList;
};

TGridChangeNotifierList::TGridChangeNotifierList() : FWatch(std::make_unique<TWatch>(this)) {}

TGridChangeNotifierList::~TGridChangeNotifierList() = default;

void TGridChangeNotifierList::Register(TGridChangeNotifier* notifier) {
    if (notifier == nullptr || std::find(FItems.begin(), FItems.end(), notifier) != FItems.end())
        return;
    FItems.push_back(notifier);
    FWatch->FreeNotification(notifier);
}

void TGridChangeNotifierList::UnRegister(TGridChangeNotifier* notifier) {
    auto found = std::find(FItems.begin(), FItems.end(), notifier);
    if (found == FItems.end())
        return;
    FItems.erase(found);
    FWatch->RemoveFreeNotification(notifier);
}

void TGridChangeNotifierList::NotifyAll(const TRect& R) {
    // A notifier may free or unregister itself or another one while it is told; walk a copy and skip
    // whatever has left the list since.
    const std::vector<TGridChangeNotifier*> snapshot = FItems;
    for (TGridChangeNotifier* notifier : snapshot)
        if (std::find(FItems.begin(), FItems.end(), notifier) != FItems.end())
            notifier->CellsChanged(R);
}
