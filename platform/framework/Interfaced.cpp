// Persistent objects that answer interface queries.
#include "platform/framework/Interfaced.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TInterfacedPersistent)
