// Start-up and close of the player module: COM on the scripting thread, the
// Lua class Velmora, and the engine's drawing surface.
#include <windows.h>

#include "module_entry.h"
#include "module_loader.h"
#include "surface.h"
#include "velmora.h"

HMODULE g_surfaceModule = nullptr;
IVguiSurface* g_surface = nullptr;

namespace {

struct Method {
    const char* name;
    LuaHandler handler;
};

// In the order scripts see them listed.
const Method kMethods[] = {
    {"RenderFile", VelmoraRenderFile},
    {"HasFilters", VelmoraHasFilters},
    {"RunGraph", VelmoraRunGraph},
    {"StopGraph", VelmoraStopGraph},
    {"PauseGraph", VelmoraPauseGraph},
    {"IsGraphPaused", VelmoraIsGraphPaused},
    {"IsGraphRunning", VelmoraIsGraphRunning},
    {"IsGraphStopped", VelmoraIsGraphStopped},
    {"SetVolume", VelmoraSetVolume},
    {"GetVolume", VelmoraGetVolume},
    {"SetBalance", VelmoraSetBalance},
    {"GetBalance", VelmoraGetBalance},
    {"GetDuration", VelmoraGetDuration},
    {"GetCurrentPosition", VelmoraGetCurrentPosition},
    {"GetStopPosition", VelmoraGetStopPosition},
    {"GetRate", VelmoraGetRate},
    {"SetRate", VelmoraSetRate},
    {"SetCurrentPosition", VelmoraSetCurrentPosition},
    {"RenderVideo", VelmoraRenderVideo},
    {"IsVideo", VelmoraIsVideo},
    {"GetVideoSize", VelmoraGetVideoSize},
};

// Builds the global table, the metatable of player objects and its method
// table; a table the host does not give ends what depends on it.
void RegisterClass(ILuaHost* host)
{
    host->CreateGlobalTable(VELMORA_CLASS_NAME);
    if (ILuaHostObject* global = host->FindGlobal(VELMORA_CLASS_NAME))
        global->SetFieldFunction("New", VelmoraNew);
    ILuaHostObject* metatable = host->FindMetaTable(VELMORA_CLASS_NAME, VELMORA_TYPE_ID);
    if (!metatable) return;
    metatable->SetFieldFunction("__gc", VelmoraCollect);
    ILuaHostObject* methods = host->CreateTable();
    if (!methods) return;
    for (const Method& method : kMethods) methods->SetFieldFunction(method.name, method.handler);
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
