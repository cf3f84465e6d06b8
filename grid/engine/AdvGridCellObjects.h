// The cell objects' kinds and the settings the grid owns: the look of outline nodes and sizing while
// typing.
#pragma once

#include "platform/framework/Component.h"
#include "platform/rtl/Persistent.h"

// The kind of a cell object, stored as one byte in the binary cell stream, so the values are fixed. ctEmpty
// is what the type query answers for a cell without an object.
ZELMOR_ENUM(TCellType, ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated,
            ctDataImage, ctNode, ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress,
            ctComment, ctButton, ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary,
            ctRangeIndicator, ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon, ctShape,
            ctRating, ctTriStateCheckBox, ctExpand)

// FIXME: holds no node settings yet; the grid creates it, and Assign copies nothing.
class TCellNode : public TPersistent {
    DECLARE_CLASS(TCellNode, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TCellNode*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TCellNode(TComponent* /*AOwner*/) {}
};

// FIXME: holds no settings yet.
class TSizeWhileTyping : public TPersistent {
    DECLARE_CLASS(TSizeWhileTyping, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TSizeWhileTyping*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
};
