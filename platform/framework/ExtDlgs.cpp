// The picture-open dialog.
#include "platform/framework/ExtDlgs.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TOpenPictureDialog)

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
    SetFilter(TPicture::GraphicFilter(TGraphic::StaticClass()));
}
