// The exports through which the host opens and closes a module, and the
// module-specific pair they call.
#pragma once

#include "host_interface.h"

#define MODULE_EXPORT extern "C" __declspec(dllexport)

// Set by gmod_open, never cleared; every handler asks it for the ILuaHost of
// its state before each host operation.
extern IHostModuleManager* g_moduleManager;

// Each module defines these two.
int ModuleStart(LuaState state);
int ModuleClose(LuaState state);

// The ILuaHost of a handler's state, asked anew for each host operation.
inline ILuaHost* HostOf(LuaState state) { return g_moduleManager->HostFor(state); }
