// Controls of the stand-in tier0 that only the host uses.
#pragma once

#include <string>
#include <vector>

#include "tier0.h"

struct Tier0Control {
    std::string commandLine;        // parameters separated by blanks
    bool threadedLoad = false;      // GetThreadedLoadLibraryFunc gives a callback
    unsigned callbackCalls = 0;     // how often that callback ran
    std::vector<std::string> errors;  // every Error report, formatted
};

typedef Tier0Control* (*Tier0ControlFn)();
