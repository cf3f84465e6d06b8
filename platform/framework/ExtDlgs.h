// The picture-open dialog: a file-open dialog that offers the picture formats the framework reads.
#pragma once

#include "platform/framework/Dialogs.h"

// Starts with the filter of every registered picture format; a filter set later replaces it.
class TOpenPictureDialog : public TOpenDialog {
    DECLARE_CLASS(TOpenPictureDialog, TOpenDialog)

public:
    explicit TOpenPictureDialog(TComponent* owner);
};
