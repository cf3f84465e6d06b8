// Forward declarations of the component framework, so that headers can name its classes cheaply.
#pragma once

#include "platform/rtl/Forward.h"

class TOwnedCollection;
class TReader;
class TWriter;
class TParser;
class TDataModule;

using TComponentClass = TClass;
using TCollectionItemClass = TClass;
