// Shared between the reader and the loading of several descriptions; not for other code.
#pragma once

#include <vector>

#include "platform/framework/Component.h"

// Keeps a reference that no component read so far resolves, until a later read brings its target.
void AddPendingFixup(TComponent* root, TComponent* component, TPersistent* instance, const TPropInfo* prop,
                     const String& name);
// The list that collects components for one Loaded pass over several descriptions, or null.
std::vector<TComponent*>* GlobalLoadedList();
void CallLoaded(TComponent* component);
// An object freed while descriptions are read on this thread (a collection read a second time, a
// component whose description fails) leaves the readers' lists: its waiting references and, for a
// component, its place among those to be told Loaded. TComponent's destructor calls
// ForgetReadComponent, and TPersistent's calls ForgetReadInstance through the routine the reader installs.
void ForgetReadInstance(TPersistent* instance);
void ForgetReadComponent(TComponent* component);
