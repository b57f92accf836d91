#include "module_loader.h"

#include <cstdio>
#include <cstring>

#include "interface_registry.h"
#include "proc_address.h"
#include "tier0.h"

namespace {

const size_t kPathBuffer = 1024;

struct ModuleLoadRequest {
    const char* path;
    HMODULE module;
};

unsigned LoadOnThread(void* parameter)
{
    ModuleLoadRequest* request = static_cast<ModuleLoadRequest*>(parameter);
    request->module = LoadLibraryExA(request->path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return 0;
}

bool ContainsDllSuffix(const char* text)
{
    for (const char* at = text; *at; at++) {
        if (_strnicmp(at, ".dll", 4) == 0) return true;
    }
    return false;
}

bool IsAbsolute(const char* name)
{
    return name[0] == '/' || name[0] == '\\' || (name[0] != '\0' && name[1] == ':');
}

}  // namespace

HMODULE LoadModuleFile(const char* path)
{
    char buffer[kPathBuffer];
    // A name that does not fit is refused rather than cut into another name.
    if (std::strlen(path) >= sizeof buffer) return nullptr;
    std::strcpy(buffer, path);
    if (!ContainsDllSuffix(buffer)) {
        if (std::strlen(buffer) + 4 >= sizeof buffer) return nullptr;
        std::strcat(buffer, ".dll");
    }
    for (char* at = buffer; *at; at++) {
        if (*at == '/') *at = '\\';
    }

    ThreadedLoadLibraryFunc waitStep = GetThreadedLoadLibraryFunc();
    if (!waitStep) return LoadLibraryExA(buffer, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);

    ModuleLoadRequest request = {buffer, nullptr};
    ThreadHandle thread = CreateSimpleThread(LoadOnThread, &request, 0);
    if (!thread) return nullptr;
    unsigned timeout = 0;
    while (ThreadWaitForObjects(1, &thread, true, timeout) == TIER0_WAIT_TIMEOUT) timeout = waitStep();
    ReleaseThreadHandle(thread);
    return request.module;
}

HMODULE LoadModule(const char* name)
{
    HMODULE module = nullptr;
    if (IsAbsolute(name)) {
        module = LoadModuleFile(name);
    } else {
        char directory[kPathBuffer];
        DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
        if (length == 0 || length >= sizeof directory) return nullptr;
        if (directory[length - 1] == '/' || directory[length - 1] == '\\') directory[length - 1] = '\0';
        char path[kPathBuffer];
        const char* format = std::strncmp(name, "bin/", 4) == 0 ? "%s/%s" : "%s/bin/%s";
        int written = std::snprintf(path, sizeof path, format, directory, name);
        if (written > 0 && static_cast<size_t>(written) < sizeof path) module = LoadModuleFile(path);
        if (!module) module = LoadModuleFile(name);
    }
    if (!module) return nullptr;

    if (!CommandLine_Tier0()->HasParameter("-allowdebug") && !Plat_IsInDebugSession() &&
        GetProcAddress(module, "BuiltDebug")) {
        Error("Module %s is a debug build\n", name);
    }
    return module;
}

void UnloadModule(HMODULE module)
{
    if (module) FreeLibrary(module);
}

CreateInterfaceFn GetModuleFactory(HMODULE module)
{
    if (!module) return nullptr;
    return ProcAddress<CreateInterfaceFn>(module, "CreateInterface");
}

CreateInterfaceFn GetLoadedModuleFactory(const char* name)
{
    return GetModuleFactory(GetModuleHandleA(name));
}

CreateInterfaceFn GetOwnFactory()
{
    return CreateInterface;
}

bool LoadInterface(const char* moduleName, const char* version, HMODULE* module, void** object)
{
    HMODULE loaded = LoadModule(moduleName);
    if (!loaded) return false;
    CreateInterfaceFn factory = GetModuleFactory(loaded);
    *object = factory ? factory(version, nullptr) : nullptr;
    if (!*object) {
        UnloadModule(loaded);
        return false;
    }
    if (module) *module = loaded;
    return true;
}

CDllDemandLoader::~CDllDemandLoader()
{
    Unload();
}

CreateInterfaceFn CDllDemandLoader::GetFactory()
{
    if (!module && !loadAttempted) {
        loadAttempted = true;
        module = LoadModule(name);
    }
    return GetModuleFactory(module);
}

void CDllDemandLoader::Unload()
{
    if (module) {
        FreeLibrary(module);
        module = nullptr;
    }
}
