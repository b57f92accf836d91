// The stand-in game: opens a module in a real Lua 5.1 state through the host
// interface, runs one script, and closes the module.
//
//   velmora_host [options] MODULE.dll SCRIPT [ARG...]
//
// Exit status: 0 when the script ends without error, 1 on a Lua error,
// 2 when the run could not start.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "class_watch.h"
#include "host_tables.h"
#include "lua_host.h"
#include "proc_address.h"
#include "tier0_control.h"

extern "C" {
#include "lualib.h"
}

namespace {

typedef int (*OpenFn)(ILuaHost*);
typedef int (*CloseFn)(LuaState);

struct Options {
    bool comMultiThreaded = false;
    std::string surface;             // "", "missing", "no-factory", "no-interface"
    bool allowDebug = false;
    bool threadedLoad = false;
    std::vector<std::string> refused;
    bool watch = false;
    WatchSettings watchSettings;
    std::string module;
    std::string script;
    std::vector<std::string> scriptArgs;
};

int Usage(const char* problem)
{
    std::fprintf(stderr,
                 "velmora_host: %s\n"
                 "usage: velmora_host [--com=mta] [--surface=missing|no-factory|no-interface] [--allowdebug]\n"
                 "                    [--threaded-load] [--refuse=FindGlobal|FindMetaTable|CreateTable]\n"
                 "                    [--watch] [--refuse-class=CLASS] [--refuse-interface=INTERFACE]\n"
                 "                    MODULE.dll SCRIPT [ARG...]\n",
                 problem);
    return 2;
}

bool Parse(int argc, char** argv, Options& options, std::string& problem)
{
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; i++) {
        std::string option = argv[i];
        if (option == "--com=mta") options.comMultiThreaded = true;
        else if (option == "--surface=missing" || option == "--surface=no-factory" || option == "--surface=no-interface")
            options.surface = option.substr(10);
        else if (option == "--allowdebug") options.allowDebug = true;
        else if (option == "--threaded-load") options.threadedLoad = true;
        else if (option.rfind("--refuse=", 0) == 0) options.refused.push_back(option.substr(9));
        else if (option == "--watch") options.watch = true;
        else if (option.rfind("--refuse-class=", 0) == 0) {
            options.watch = true;
            options.watchSettings.refusedClass = option.substr(15);
        } else if (option.rfind("--refuse-interface=", 0) == 0) {
            options.watch = true;
            options.watchSettings.refusedInterface = option.substr(19);
        }
        else {
            problem = "unknown option " + option;
            return false;
        }
    }
    if (argc - i < 2) {
        problem = "a module and a script are needed";
        return false;
    }
    options.module = argv[i++];
    options.script = argv[i++];
    for (; i < argc; i++) options.scriptArgs.push_back(argv[i]);
    return true;
}

// The folder that holds this program: the game folder.
std::string GameFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/"));
}

bool SetUpTier0(const Options& options)
{
    HMODULE tier0 = LoadLibraryA("tier0.dll");
    auto control = tier0 ? ProcAddress<Tier0ControlFn>(tier0, "StandInTier0Control") : nullptr;
    if (!control) return false;
    control()->commandLine = options.allowDebug ? "-game garrysmod -allowdebug" : "-game garrysmod";
    control()->threadedLoad = options.threadedLoad;
    return true;
}

// arg as the stand-alone interpreter gives it: the script at 0, its arguments from 1.
void SetArg(lua_State* L, const Options& options)
{
    lua_newtable(L);
    lua_pushstring(L, options.script.c_str());
    lua_rawseti(L, -2, 0);
    for (size_t i = 0; i < options.scriptArgs.size(); i++) {
        lua_pushstring(L, options.scriptArgs[i].c_str());
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
    lua_setglobal(L, "arg");
}

int Traceback(lua_State* L)
{
    lua_getglobal(L, "debug");
    lua_getfield(L, -1, "traceback");
    lua_pushvalue(L, 1);
    lua_pushinteger(L, 2);
    lua_call(L, 2, 1);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string problem;
    if (!Parse(argc, argv, options, problem)) return Usage(problem.c_str());

    std::string game = GameFolder();
    if (!SetUpTier0(options)) return Usage("tier0.dll is missing beside the host");
    // The surface variants live in game folders of their own.
    std::string current = options.surface.empty() ? game : game + "\\variants\\" + options.surface;
    if (!SetCurrentDirectoryA(current.c_str())) return Usage(("no game folder " + current).c_str());

    if (options.comMultiThreaded) CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // Watching registers class objects, which needs COM on this thread; the
    // module's own entry into the same apartment then succeeds as usual.
    if (options.watch) {
        if (!options.comMultiThreaded) CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (!StartWatching(options.watchSettings, problem)) return Usage(problem.c_str());
    }

    HMODULE module = LoadLibraryA(options.module.c_str());
    if (!module) {
        std::fprintf(stderr, "velmora_host: cannot load the module %s (error %lu)\n", options.module.c_str(),
                     GetLastError());
        return 2;
    }
    auto open = ProcAddress<OpenFn>(module, "gmod_open");
    auto close = ProcAddress<CloseFn>(module, "gmod_close");
    if (!open || !close) {
        std::fprintf(stderr, "velmora_host: %s does not export gmod_open and gmod_close\n", options.module.c_str());
        return 2;
    }

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    LuaHost host(L);
    host.refused = options.refused;
    RegisterHostTables(L, host);
    SetArg(L, options);

    int opened;
    {
        LuaHost::CallScope scope(host);
        opened = open(&host);
    }
    lua_getglobal(L, "Host");
    lua_pushinteger(L, opened);
    lua_setfield(L, -2, "OpenResult");
    lua_pop(L, 1);
    host.refused.clear();  // refusals apply to the module's start-up only

    int status = 0;
    lua_pushcfunction(L, Traceback);
    if (luaL_loadfile(L, options.script.c_str()) != 0 || lua_pcall(L, 0, 0, -2) != 0) {
        std::fprintf(stderr, "%s\n", lua_tostring(L, -1));
        status = 1;
    }
    lua_settop(L, 0);

    // Closing the state collects the module's objects while the module and
    // its COM apartment are still there; the module only passes the state on.
    lua_close(L);
    int closed = close(reinterpret_cast<LuaState>(L));
    if (closed != 0) {
        std::fprintf(stderr, "velmora_host: gmod_close returned %d\n", closed);
        status = 1;
    }
    if (options.watch) {
        StopWatching();
        CoUninitialize();
    }
    std::fflush(stdout);
    return status;
}
