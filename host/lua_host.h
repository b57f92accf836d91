// The host objects over one real Lua 5.1 state.
//
// Objects handed to a module during a handler call (or during gmod_open)
// belong to that call: CallScope frees them when it ends, so a module that
// never gives objects back does not make the host grow.
#pragma once

#include <map>
#include <string>
#include <vector>

extern "C" {
#include "lua.h"
#include "lauxlib.h"
}

#include "host_interface.h"

class LuaHost;

class LuaHostObject final : public ILuaHostObject {
public:
    LuaHostObject(lua_State* L, int ref) : L(L), ref(ref) {}
    ~LuaHostObject() { luaL_unref(L, LUA_REGISTRYINDEX, ref); }

    void SetIndexText(float key, const char* text) override;
    void SetIndexObject(float key, ILuaHostObject* object) override;
    void SetFieldFunction(const char* name, LuaHandler handler) override;
    void SetFieldText(const char* name, const char* text) override;
    void SetFieldNumber(const char* name, float value) override;
    void SetFieldObject(const char* name, ILuaHostObject* object) override;
    void PushObject() override;

    void Push() const { lua_rawgeti(L, LUA_REGISTRYINDEX, ref); }

private:
    lua_State* L;
    int ref;
};

class LuaHost : public ILuaHost, public IHostModuleManager {
public:
    explicit LuaHost(lua_State* L) : L(L) {}

    // IHostModuleManager
    ILuaHost* HostFor(LuaState state) override;

    // ILuaHost
    LuaState StateOf() override;
    ILuaHostObject* FindGlobal(const char* name) override;
    const char* ArgString(int position) override;
    int ArgNumber(int position) override;
    double ArgFloat(int position) override;
    void* ArgUserData(int position) override;
    void PushBoolean(bool value) override;
    void PushFloat(float value) override;
    void PushText(const char* text) override;
    void SetGlobalNumberValue(const char* name, float value) override;
    void RaiseScriptError(const char* text, int position) override;
    int ArgType(int position) override;
    const char* TypeErrorMessage(int code) override;
    void PushTypedUserData(ILuaHostObject* metatable, void* pointer) override;
    void CreateGlobalTable(const char* name) override;
    ILuaHostObject* FindMetaTable(const char* name, int code) override;
    ILuaHostObject* CreateTable() override;
    IHostModuleManager* ModuleManagerOf() override;
    void PushInteger(int value) override;
    void ReportError(const char* text) override;
    void PrintMessage(const char* format, ...) override;

    // Host operations the test options refuse: "FindGlobal", "FindMetaTable", "CreateTable".
    std::vector<std::string> refused;
    std::vector<std::string> printed;
    std::vector<std::string> reported;

    // Calls a handler as Lua's C function, raising its script error after it returns.
    static int Trampoline(lua_State* L);

    // One handler call (or gmod_open): owns the objects handed out during it.
    class CallScope {
    public:
        explicit CallScope(LuaHost& host);
        ~CallScope();
        // The error to raise once the call has returned, or empty.
        char error[512];

    private:
        LuaHost& host;
        size_t firstObject;
        CallScope* outer;
    };

private:
    ILuaHostObject* Hand(int ref);
    bool Refuses(const char* operation) const;
    lua_State* L;
    std::vector<LuaHostObject*> handedOut;
    CallScope* scope = nullptr;
    std::map<int, std::string> typeNames;      // registered code -> metatable name
    std::map<int, std::string> typeMessages;   // code -> TypeErrorMessage text
};

// The host of the one state the program runs.
LuaHost& HostOfState(lua_State* L);
