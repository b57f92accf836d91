// A typed GetProcAddress.
#pragma once

#include <windows.h>

template <typename Function>
Function ProcAddress(HMODULE module, const char* name)
{
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
