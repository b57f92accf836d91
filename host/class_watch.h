// Stands between the module and DirectShow's own objects, for tests: class
// objects registered in this process make the real filter graph manager,
// Sample Grabber and Null Renderer (asked of their DLLs) inside an outer
// object that forwards to them. That lets a test refuse a class or one
// interface of it, and list the filters of every graph still alive.
#pragma once

#include <string>
#include <vector>

struct WatchSettings {
    std::string refusedClass;      // "", "FilterGraph", "SampleGrabber" or "NullRenderer"
    std::string refusedInterface;  // "", or an interface name such as "IMediaSeeking"
};

// Needs COM entered on the calling thread. False when a name is unknown or
// a real class cannot be reached.
bool StartWatching(const WatchSettings& settings, std::string& problem);
void StopWatching();

// The filter names of each filter graph manager still alive, oldest first.
std::vector<std::vector<std::string>> WatchedGraphs();
