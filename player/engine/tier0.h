// The engine platform library tier0, as the engine module loader uses it.
// All functions have C linkage and are exported by "tier0.dll" under these names.
#pragma once

#ifdef TIER0_BUILDING
#define TIER0_API extern "C" __declspec(dllexport)
#else
#define TIER0_API extern "C" __declspec(dllimport)
#endif

typedef void* ThreadHandle;
typedef unsigned (*ThreadFunction)(void* parameter);

// Called by a thread that waits for a library load on another thread; gives
// the time-out, in milliseconds, of the next wait.
typedef unsigned (*ThreadedLoadLibraryFunc)();

// What ThreadWaitForObjects answers while the objects are not yet signalled.
#define TIER0_WAIT_TIMEOUT 258u

// The engine's command line.
class ICommandLine {
public:
    virtual bool HasParameter(const char* name) = 0;
};

TIER0_API ThreadedLoadLibraryFunc GetThreadedLoadLibraryFunc();
// stackSize 0 takes the default.
TIER0_API ThreadHandle CreateSimpleThread(ThreadFunction function, void* parameter, unsigned stackSize);
TIER0_API unsigned ThreadWaitForObjects(int count, const ThreadHandle* handles, bool waitAll, unsigned timeout);
TIER0_API void ReleaseThreadHandle(ThreadHandle thread);
TIER0_API ICommandLine* CommandLine_Tier0();
TIER0_API bool Plat_IsInDebugSession();
// The engine's fatal report.
TIER0_API void Error(const char* format, ...);
