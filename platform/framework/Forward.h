// Forward declarations of the component framework, so that headers can name its classes cheaply.
#pragma once

class TObject;
class TClassInfo;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TOwnedCollection;
class TFiler;
class TReader;
class TWriter;
class TParser;
class TDataModule;
struct TTypeInfo;
struct TPropInfo;
struct TMethodInfo;
struct TFieldInfo;

// A metaclass: the class of a framework object, which names it, knows its published members and can
// create instances of it.
using TClass = const TClassInfo*;
using TPersistentClass = TClass;
using TComponentClass = TClass;
using TCollectionItemClass = TClass;
