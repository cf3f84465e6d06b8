// The About window's class description.
#include "app/About.h"

#include "platform/rtl/PropertyInfo.h"

TForm1* Form1 = nullptr;

DEFINE_CLASS(TForm1, FIELD(Picture), FIELD(Label1), FIELD(Label2), FIELD(Label3), FIELD(Label4))
