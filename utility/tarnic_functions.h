// The handlers behind the fields of the Tarnic table.
#pragma once

#include "host_interface.h"

int GetGameExe(LuaState state);
int FindMedia(LuaState state);
int FindDrives(LuaState state);
int GetMediaSize(LuaState state);
int PerformanceStart(LuaState state);
int PerformanceEnd(LuaState state);
int PathExists(LuaState state);
