// Scrolling the grid while something is dragged near its edges.
#pragma once

#include <memory>

#include "platform/rtl/Persistent.h"

// How long a drag rests near an edge before the first step, and between the next ones, in milliseconds.
class TDragScrollDelays : public TPersistent {
    DECLARE_CLASS(TDragScrollDelays, TPersistent)

public:
    // Copies both delays from the same class only.
    void Assign(TPersistent* Source) override;
    Integer InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(Integer Value) { FInitialDelay = Value; }
    Integer RepeatDelay() const { return FRepeatDelay; }
    void SetRepeatDelay(Integer Value) { FRepeatDelay = Value; }

private:
    Integer FInitialDelay = 1000;
    Integer FRepeatDelay = 250;
};

// How near each edge, in pixels, a drag counts as resting at it.
class TDragScrollMargins : public TPersistent {
    DECLARE_CLASS(TDragScrollMargins, TPersistent)

public:
    // Copies the four margins from the same class only.
    void Assign(TPersistent* Source) override;
    Integer TopMargin() const { return FTopMargin; }
    void SetTopMargin(Integer Value) { FTopMargin = Value; }
    Integer BottomMargin() const { return FBottomMargin; }
    void SetBottomMargin(Integer Value) { FBottomMargin = Value; }
    Integer LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(Integer Value) { FLeftMargin = Value; }
    Integer RightMargin() const { return FRightMargin; }
    void SetRightMargin(Integer Value) { FRightMargin = Value; }

private:
    Integer FTopMargin = 50;
    Integer FBottomMargin = 50;
    Integer FLeftMargin = 50;
    Integer FRightMargin = 50;
};

// The grid's drag auto-scroll settings; off until Active is set.
class TDragScrollOptions : public TPersistent {
    DECLARE_CLASS(TDragScrollOptions, TPersistent)

public:
    TDragScrollOptions();
    ~TDragScrollOptions() override;
    // Copies Active, the delays and the margins from the same class only.
    void Assign(TPersistent* Source) override;

    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    TDragScrollDelays* Delays() const { return FDelays.get(); }
    void SetDelays(TDragScrollDelays* Value) { FDelays->Assign(Value); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }
    void SetMargins(TDragScrollMargins* Value) { FMargins->Assign(Value); }

private:
    bool FActive = false;
    std::unique_ptr<TDragScrollDelays> FDelays;
    std::unique_ptr<TDragScrollMargins> FMargins;
};
