#include "lua_host.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

LuaHost* g_host = nullptr;

// Codes for the Lua types a module has no code for.
int CodeOfLuaType(int type)
{
    switch (type) {
    case LUA_TSTRING: return HOST_TYPE_STRING;
    case LUA_TNUMBER: return HOST_TYPE_NUMBER;
    case LUA_TBOOLEAN: return 3;
    case LUA_TTABLE: return 5;
    case LUA_TFUNCTION: return 6;
    case LUA_TUSERDATA: return 7;
    case LUA_TTHREAD: return 8;
    case LUA_TLIGHTUSERDATA: return 9;
    default: return 0;  // nil or no value
    }
}

void Output(std::vector<std::string>& log, const char* text)
{
    log.push_back(text);
    std::fputs(text, stdout);
    std::fflush(stdout);
}

}  // namespace

LuaHost& HostOfState(lua_State*) { return *g_host; }

// --- tables ---------------------------------------------------------------

void LuaHostObject::SetIndexText(float key, const char* text)
{
    Push();
    lua_pushnumber(L, key);
    lua_pushstring(L, text);
    lua_settable(L, -3);
    lua_pop(L, 1);
}

void LuaHostObject::SetIndexObject(float key, ILuaHostObject* object)
{
    Push();
    lua_pushnumber(L, key);
    static_cast<LuaHostObject*>(object)->Push();
    lua_settable(L, -3);
    lua_pop(L, 1);
}

void LuaHostObject::SetFieldFunction(const char* name, LuaHandler handler)
{
    Push();
    lua_pushlightuserdata(L, reinterpret_cast<void*>(handler));
    lua_pushcclosure(L, LuaHost::Trampoline, 1);
    lua_setfield(L, -2, name);
    lua_pop(L, 1);
}

void LuaHostObject::SetFieldText(const char* name, const char* text)
{
    Push();
    lua_pushstring(L, text);
    lua_setfield(L, -2, name);
    lua_pop(L, 1);
}

void LuaHostObject::SetFieldNumber(const char* name, float value)
{
    Push();
    lua_pushnumber(L, value);
    lua_setfield(L, -2, name);
    lua_pop(L, 1);
}

void LuaHostObject::SetFieldObject(const char* name, ILuaHostObject* object)
{
    Push();
    static_cast<LuaHostObject*>(object)->Push();
    lua_setfield(L, -2, name);
    lua_pop(L, 1);
}

void LuaHostObject::PushObject() { Push(); }

// --- calls ----------------------------------------------------------------

LuaHost::CallScope::CallScope(LuaHost& host) : host(host), firstObject(host.handedOut.size()), outer(host.scope)
{
    error[0] = '\0';
    g_host = &host;
    host.scope = this;
}

LuaHost::CallScope::~CallScope()
{
    for (size_t i = firstObject; i < host.handedOut.size(); i++) delete host.handedOut[i];
    host.handedOut.resize(firstObject);
    host.scope = outer;
}

int LuaHost::Trampoline(lua_State* L)
{
    LuaHandler handler = reinterpret_cast<LuaHandler>(lua_touserdata(L, lua_upvalueindex(1)));
    LuaHost& host = HostOfState(L);
    char error[sizeof(CallScope::error)];
    int results;
    {
        CallScope scope(host);
        results = handler(reinterpret_cast<LuaState>(L));
        std::memcpy(error, scope.error, sizeof error);
    }
    if (error[0]) {
        lua_pushstring(L, error);
        return lua_error(L);  // nothing with a destructor is left in this frame
    }
    return std::max(0, std::min(results, lua_gettop(L)));
}

ILuaHostObject* LuaHost::Hand(int ref)
{
    LuaHostObject* object = new LuaHostObject(L, ref);
    handedOut.push_back(object);
    return object;
}

bool LuaHost::Refuses(const char* operation) const
{
    return std::find(refused.begin(), refused.end(), operation) != refused.end();
}

// --- ILuaHost -------------------------------------------------------------

ILuaHost* LuaHost::HostFor(LuaState) { return this; }
LuaState LuaHost::StateOf() { return reinterpret_cast<LuaState>(L); }
IHostModuleManager* LuaHost::ModuleManagerOf() { return this; }

ILuaHostObject* LuaHost::FindGlobal(const char* name)
{
    if (Refuses("FindGlobal")) return nullptr;
    lua_getglobal(L, name);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        return nullptr;
    }
    return Hand(luaL_ref(L, LUA_REGISTRYINDEX));
}

const char* LuaHost::ArgString(int position)
{
    int type = lua_type(L, position);
    if (type != LUA_TSTRING && type != LUA_TNUMBER) return nullptr;
    return lua_tostring(L, position);
}

int LuaHost::ArgNumber(int position) { return static_cast<int>(lua_tointeger(L, position)); }
double LuaHost::ArgFloat(int position) { return lua_tonumber(L, position); }

void* LuaHost::ArgUserData(int position)
{
    if (lua_type(L, position) != LUA_TUSERDATA || lua_objlen(L, position) != sizeof(void*)) return nullptr;
    if (CodeOfLuaType(LUA_TUSERDATA) == ArgType(position)) return nullptr;
    return *static_cast<void**>(lua_touserdata(L, position));
}

void LuaHost::PushBoolean(bool value) { lua_pushboolean(L, value); }
void LuaHost::PushFloat(float value) { lua_pushnumber(L, value); }
void LuaHost::PushText(const char* text) { lua_pushstring(L, text); }
void LuaHost::PushInteger(int value) { lua_pushinteger(L, value); }

void LuaHost::SetGlobalNumberValue(const char* name, float value)
{
    lua_pushnumber(L, value);
    lua_setglobal(L, name);
}

int LuaHost::ArgType(int position)
{
    int type = lua_type(L, position);
    if (type == LUA_TUSERDATA && lua_getmetatable(L, position)) {
        for (const auto& entry : typeNames) {
            luaL_getmetatable(L, entry.second.c_str());
            bool same = lua_rawequal(L, -1, -2) != 0;
            lua_pop(L, 1);
            if (same) {
                lua_pop(L, 1);
                return entry.first;
            }
        }
        lua_pop(L, 1);
    }
    return CodeOfLuaType(type);
}

const char* LuaHost::TypeErrorMessage(int code)
{
    std::string& text = typeMessages[code];
    if (text.empty()) {
        auto named = typeNames.find(code);
        const char* name = code == HOST_TYPE_STRING ? "string"
                         : code == HOST_TYPE_NUMBER ? "number"
                         : named != typeNames.end() ? named->second.c_str() : "value";
        text = std::string(name) + " expected";
    }
    return text.c_str();
}

void LuaHost::RaiseScriptError(const char* text, int position)
{
    lua_Debug call;
    const char* function = "?";
    if (lua_getstack(L, 0, &call) && lua_getinfo(L, "n", &call) && call.name) function = call.name;
    // A type error says what the argument was, as Lua's own do.
    bool typeError = false;
    for (const auto& entry : typeMessages) typeError = typeError || entry.second.c_str() == text;
    const char* got = lua_type(L, position) == LUA_TNONE ? "no value" : luaL_typename(L, position);
    char* error = scope ? scope->error : nullptr;
    char fallback[sizeof(CallScope::error)];
    if (!error) error = fallback;
    if (typeError)
        std::snprintf(error, sizeof fallback, "bad argument #%d to '%s' (%s, got %s)", position, function, text, got);
    else
        std::snprintf(error, sizeof fallback, "bad argument #%d to '%s' (%s)", position, function, text);
}

void LuaHost::PushTypedUserData(ILuaHostObject* metatable, void* pointer)
{
    void** block = static_cast<void**>(lua_newuserdata(L, sizeof(void*)));
    *block = pointer;
    static_cast<LuaHostObject*>(metatable)->Push();
    lua_setmetatable(L, -2);
}

void LuaHost::CreateGlobalTable(const char* name)
{
    lua_newtable(L);
    lua_setglobal(L, name);
}

ILuaHostObject* LuaHost::FindMetaTable(const char* name, int code)
{
    if (Refuses("FindMetaTable")) return nullptr;
    luaL_newmetatable(L, name);
    typeNames[code] = name;
    return Hand(luaL_ref(L, LUA_REGISTRYINDEX));
}

ILuaHostObject* LuaHost::CreateTable()
{
    if (Refuses("CreateTable")) return nullptr;
    lua_newtable(L);
    return Hand(luaL_ref(L, LUA_REGISTRYINDEX));
}

void LuaHost::ReportError(const char* text) { Output(reported, text); }

void LuaHost::PrintMessage(const char* format, ...)
{
    char text[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Output(printed, text);
}
