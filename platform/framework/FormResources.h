// Form descriptions compiled into the program (text forms from resources/forms, embedded by the build),
// and the creation of a form's or data module's components from them.
#pragma once

#include <cstddef>

#include "platform/framework/Component.h"

// Registers an embedded description; fileName names it in errors, text is its UTF-8 bytes (which must
// live as long as the program). The build step's generated source calls this at start-up.
void RegisterFormResource(const char* fileName, const unsigned char* text, std::size_t size);
// Whether a description of that root class name ("TMainForm") is embedded.
bool FormResourceExists(StringView className);

// Reads the descriptions of instance's class and of its ancestors up to (but not including)
// rootAncestor into instance, oldest first: creates the components by class name, owned by instance,
// sets their properties, binds events to instance's published methods, fixes references up once all is
// read and then calls Loaded on every component read, in creation order. Answers whether any
// description was found. A form's or data module's construction calls this.
bool InitInheritedComponent(TComponent* instance, TClass rootAncestor);
// Reads the description named resName (a root class name) into instance; false when there is none.
bool InitComponentRes(StringView resName, TComponent* instance);
// Like InitComponentRes, raising EResNotFound "Resource %s not found" when there is none; with a
// null instance a component of the description's registered class is created.
TComponent* ReadComponentRes(StringView resName, TComponent* instance);
// Reads a text description given as UTF-8 into instance (or a new component when it is null).
TComponent* ReadComponentText(const std::string& text, TComponent* instance);
