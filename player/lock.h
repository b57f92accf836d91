// The critical section between the streaming thread and the scripting thread.
#pragma once

#include <windows.h>

class CLock {
public:
    CLock() { InitializeCriticalSection(&section_); }
    ~CLock() { DeleteCriticalSection(&section_); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

    void Lock() { EnterCriticalSection(&section_); }
    void Unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// Holds a CLock for the enclosing block, whichever way the block is left.
class CLockGuard {
public:
    explicit CLockGuard(CLock* lock) : lock_(lock) { lock_->Lock(); }
    ~CLockGuard() { lock_->Unlock(); }
    CLockGuard(const CLockGuard&) = delete;
    CLockGuard& operator=(const CLockGuard&) = delete;

private:
    CLock* lock_;
};
