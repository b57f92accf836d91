#include "module_entry.h"

IHostModuleManager* g_moduleManager = nullptr;

MODULE_EXPORT int gmod_open(ILuaHost* host)
{
    g_moduleManager = host->ModuleManagerOf();
    LuaState state = host->StateOf();
    return ModuleStart(state);
}

MODULE_EXPORT int gmod_close(LuaState state)
{
    ModuleClose(state);
    return 0;
}
