// The host game's scripting interface, as the modules see it.
//
// The host owns Lua. A module reaches it only through these three objects,
// each a table of virtual operations in a fixed order; the host implements
// them and hands them out. The module never gives an object back: objects it
// receives during a call are the host's to free once that call returns.
#pragma once

// One Lua state, passed through opaquely.
typedef struct LuaStateHandle* LuaState;

// A function registered for scripts: reads its arguments by position, pushes
// its results and returns how many it pushed.
typedef int (*LuaHandler)(LuaState state);

// Host type codes, as ArgType gives them and TypeErrorMessage takes them.
enum HostTypeCode {
    HOST_TYPE_STRING = 1,
    HOST_TYPE_NUMBER = 2,
};

class ILuaHost;

class IHostModuleManager {
public:
    // Never null.
    virtual ILuaHost* HostFor(LuaState state) = 0;
};

// A Lua table held by the module.
class ILuaHostObject {
public:
    virtual void SetIndexText(float key, const char* text) = 0;
    virtual void SetIndexObject(float key, ILuaHostObject* object) = 0;
    virtual void SetFieldFunction(const char* name, LuaHandler handler) = 0;
    virtual void SetFieldText(const char* name, const char* text) = 0;
    virtual void SetFieldNumber(const char* name, float value) = 0;
    virtual void SetFieldObject(const char* name, ILuaHostObject* object) = 0;
    // Pushes the table as one result of the running handler.
    virtual void PushObject() = 0;
};

// Positions count from 1; for a method, position 1 is the object.
class ILuaHost {
public:
    virtual LuaState StateOf() = 0;
    // The global table of that name, or null.
    virtual ILuaHostObject* FindGlobal(const char* name) = 0;
    // Valid until the handler returns; null when the argument is neither a
    // string nor a number.
    virtual const char* ArgString(int position) = 0;
    virtual int ArgNumber(int position) = 0;
    virtual double ArgFloat(int position) = 0;
    // The pointer given to PushTypedUserData, or null.
    virtual void* ArgUserData(int position) = 0;
    virtual void PushBoolean(bool value) = 0;
    virtual void PushFloat(float value) = 0;
    // The text is copied.
    virtual void PushText(const char* text) = 0;
    virtual void SetGlobalNumberValue(const char* name, float value) = 0;
    // Raised in the script once the handler has returned; the caller
    // returns 0 right after this call.
    virtual void RaiseScriptError(const char* text, int position) = 0;
    virtual int ArgType(int position) = 0;
    // Only ever passed on to RaiseScriptError.
    virtual const char* TypeErrorMessage(int code) = 0;
    // A full userdata carrying the pointer; the metatable's "__gc" runs when
    // the host collects it.
    virtual void PushTypedUserData(ILuaHostObject* metatable, void* pointer) = 0;
    // Sets the global to a new empty table.
    virtual void CreateGlobalTable(const char* name) = 0;
    // Made once per name; later calls give the same table.
    virtual ILuaHostObject* FindMetaTable(const char* name, int code) = 0;
    virtual ILuaHostObject* CreateTable() = 0;
    virtual IHostModuleManager* ModuleManagerOf() = 0;
    virtual void PushInteger(int value) = 0;
    virtual void ReportError(const char* text) = 0;
    // One console line; modules pass a fixed text with no '%'.
    virtual void PrintMessage(const char* format, ...) = 0;
};
