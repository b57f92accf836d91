// Loading engine modules by name and asking them for interfaces, following
// the engine's conventions.
#pragma once

#include <windows.h>

#include "surface.h"

// Loads a module by name or path: an absolute path as it is, otherwise under
// the current directory's bin/ folder, then through the system's search.
HMODULE LoadModule(const char* name);
HMODULE LoadModuleFile(const char* path);
void UnloadModule(HMODULE module);
// The module's "CreateInterface" export, or null (also for a null module).
CreateInterfaceFn GetModuleFactory(HMODULE module);
CreateInterfaceFn GetLoadedModuleFactory(const char* name);
CreateInterfaceFn GetOwnFactory();
bool LoadInterface(const char* moduleName, const char* version, HMODULE* module, void** object);

// Loads a named module on first demand.
class CDllDemandLoader {
public:
    explicit CDllDemandLoader(const char* name) : name(name) {}
    virtual ~CDllDemandLoader();
    CDllDemandLoader(const CDllDemandLoader&) = delete;
    CDllDemandLoader& operator=(const CDllDemandLoader&) = delete;

    CreateInterfaceFn GetFactory();
    void Unload();

private:
    const char* name;
    HMODULE module = nullptr;
    bool loadAttempted = false;
};
