// One stopwatch on the high-resolution counter, shared by every caller.
#include <windows.h>

#include <cstdint>

#include "module_entry.h"
#include "number_convert.h"
#include "tarnic_functions.h"

namespace {
// Both 0 until the first start; only the scripting thread touches them.
std::uint64_t g_perfFrequency = 0;
std::uint64_t g_perfStart = 0;
}

int PerformanceStart(LuaState)
{
    LARGE_INTEGER value;
    value.QuadPart = 0;
    QueryPerformanceFrequency(&value);
    g_perfFrequency = static_cast<std::uint64_t>(value.QuadPart);
    QueryPerformanceCounter(&value);
    g_perfStart = static_cast<std::uint64_t>(value.QuadPart);
    return 0;
}

int PerformanceEnd(LuaState state)
{
    // Read first so host calls do not count in the measured time.
    LARGE_INTEGER value;
    value.QuadPart = 0;
    QueryPerformanceCounter(&value);
    const std::uint64_t finishtime = static_cast<std::uint64_t>(value.QuadPart);

    ILuaHost* host = HostOf(state);
    const std::uint64_t elapsed = finishtime - g_perfStart;
    host->PushFloat(ElapsedSeconds(elapsed, g_perfFrequency));
    return 1;
}
