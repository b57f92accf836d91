// The tables the host gives scripts of its own: Host and Surface.
#pragma once

extern "C" {
#include "lua.h"
}

class LuaHost;

void RegisterHostTables(lua_State* L, LuaHost& host);
