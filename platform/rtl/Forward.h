// Forward declarations of the object core, so that headers can name its classes cheaply. The core's
// metaclass names the framework's component and collection classes it creates; they are declared here
// and defined in the framework.
#pragma once

class TObject;
class TClassInfo;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TFiler;
struct TTypeInfo;
struct TPropInfo;
struct TMethodInfo;
struct TFieldInfo;

// A metaclass: the class of a framework object, which names it, knows its published members and can
// create instances of it.
using TClass = const TClassInfo*;
using TPersistentClass = TClass;
