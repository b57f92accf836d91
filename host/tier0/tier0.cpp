// Stand-in for the engine's platform library: threads through Win32, the
// command line and the threaded-load callback set by the host, and Error
// recorded (and printed) instead of ending the process.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "tier0_control.h"

namespace {

Tier0Control g_control;

class CommandLine : public ICommandLine {
public:
    bool HasParameter(const char* name) override
    {
        const std::string& line = g_control.commandLine;
        size_t length = std::strlen(name);
        for (size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + 1)) {
            bool startsWord = at == 0 || line[at - 1] == ' ';
            bool endsWord = at + length == line.size() || line[at + length] == ' ';
            if (startsWord && endsWord) return true;
        }
        return false;
    }
};

CommandLine g_commandLine;

unsigned WaitStep()
{
    g_control.callbackCalls++;
    return 5;
}

struct ThreadStart {
    ThreadFunction function;
    void* parameter;
};

DWORD WINAPI ThreadEntry(void* start)
{
    ThreadStart copy = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    return copy.function(copy.parameter);
}

}  // namespace

TIER0_API ThreadedLoadLibraryFunc GetThreadedLoadLibraryFunc()
{
    return g_control.threadedLoad ? WaitStep : nullptr;
}

TIER0_API ThreadHandle CreateSimpleThread(ThreadFunction function, void* parameter, unsigned stackSize)
{
    ThreadStart* start = new ThreadStart{function, parameter};
    HANDLE thread = CreateThread(nullptr, stackSize, ThreadEntry, start, 0, nullptr);
    if (!thread) delete start;
    return thread;
}

TIER0_API unsigned ThreadWaitForObjects(int count, const ThreadHandle* handles, bool waitAll, unsigned timeout)
{
    return WaitForMultipleObjects(count, const_cast<HANDLE*>(handles), waitAll, timeout);
}

TIER0_API void ReleaseThreadHandle(ThreadHandle thread)
{
    CloseHandle(thread);
}

TIER0_API ICommandLine* CommandLine_Tier0()
{
    return &g_commandLine;
}

TIER0_API bool Plat_IsInDebugSession()
{
    return IsDebuggerPresent() != FALSE;
}

TIER0_API void Error(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    g_control.errors.push_back(text);
    std::printf("tier0 Error: %s", text);
    std::fflush(stdout);
}

extern "C" __declspec(dllexport) Tier0Control* StandInTier0Control()
{
    return &g_control;
}
