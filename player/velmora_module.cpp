// Start-up and close of the player module: COM on the scripting thread, the
// Lua class Velmora, and the engine's drawing surface.
#include <windows.h>

#include "module_entry.h"
#include "module_loader.h"
#include "surface.h"

#define VELMORA_TYPE_ID 1540
#define VELMORA_CLASS_NAME "Velmora"

HMODULE g_surfaceModule = nullptr;
IVguiSurface* g_surface = nullptr;

namespace {

// Builds the global table, the metatable of player objects and its method
// table; a table the host does not give ends what depends on it.
void RegisterClass(ILuaHost* host)
{
    host->CreateGlobalTable(VELMORA_CLASS_NAME);
    host->FindGlobal(VELMORA_CLASS_NAME);
    ILuaHostObject* metatable = host->FindMetaTable(VELMORA_CLASS_NAME, VELMORA_TYPE_ID);
    if (!metatable) return;
    ILuaHostObject* methods = host->CreateTable();
    if (!methods) return;
    metatable->SetFieldObject("__index", methods);
}

}  // namespace

int ModuleStart(LuaState state)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        HostOf(state)->PrintMessage("Velmora: Cannot initialize COM.  This module will not function.\n");
        return 0;
    }
    RegisterClass(HostOf(state));

    g_surfaceModule = LoadModule(SURFACE_MODULE_NAME);
    if (!g_surfaceModule) {
        HostOf(state)->ReportError("Unable to load vguimatsurface.dll");
        return 0;
    }
    CreateInterfaceFn factory = GetModuleFactory(g_surfaceModule);
    if (!factory) {
        HostOf(state)->ReportError("Unable to get vguimatsurface factory");
        return 0;
    }
    g_surface = static_cast<IVguiSurface*>(factory(SURFACE_INTERFACE_VERSION, nullptr));
    if (!g_surface) {
        HostOf(state)->ReportError("Unable to getvguimatsurface IAppSystem * interface");
        return 0;
    }
    return 0;
}

int ModuleClose(LuaState)
{
    CoUninitialize();
    return 0;
}
