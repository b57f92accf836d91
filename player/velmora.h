// The player record behind every Velmora object, and what its methods share.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <cstdint>
#include <initializer_list>

#include "host_interface.h"
#include "lock.h"
#include "sample_callback.h"

#define VELMORA_TYPE_ID 1540
#define VELMORA_CLASS_NAME "Velmora"

// Side of the square texture and frame buffer, in pixels of 4 bytes.
constexpr int32_t TEXTURE_SIDE = 1024;
constexpr size_t FRAME_BUFFER_BYTES = size_t{TEXTURE_SIDE} * TEXTURE_SIDE * 4;

// One per player object, owned by its userdata. Holds one reference on each
// interface pointer.
struct Velmora {
    IGraphBuilder* graphBuilder = nullptr;
    IBasicAudio* basicAudio = nullptr;
    IVideoWindow* videoWindow = nullptr;
    IBasicVideo* basicVideo = nullptr;
    IMediaControl* mediaControl = nullptr;
    IMediaSeeking* mediaSeeking = nullptr;
    IBaseFilter* nullRenderer = nullptr;
    int32_t textureId = 0;
    ISampleGrabber* sampleGrabber = nullptr;
    IBaseFilter* grabberFilter = nullptr;
    CSampleCallback sampleCallback;
    CLock frameLock;
    uint8_t* frameBuffer = nullptr;
    int32_t videoHeight = 0;
    int32_t videoWidth = 0;
    int32_t bytesPerPixel = 0;
    int32_t textureHeight = 0;
    int32_t textureWidth = 0;
    bool hasVideo = false;
};

// The start of every method: the type of position 1, then the host type
// codes of the arguments from position 2 on, then the record validity test
// (a record already collected fails it). Null when the method must return 0:
// the script error is raised or the message printed.
Velmora* CheckedRecord(LuaState state, std::initializer_list<int> argumentTypes = {});

// Removes every filter from the graph; the record keeps its own references.
void EmptyGraph(IGraphBuilder* graph);

// The handlers of the Velmora class.
int VelmoraNew(LuaState state);
int VelmoraCollect(LuaState state);
int VelmoraRenderFile(LuaState state);
int VelmoraHasFilters(LuaState state);
int VelmoraRunGraph(LuaState state);
int VelmoraStopGraph(LuaState state);
int VelmoraPauseGraph(LuaState state);
int VelmoraIsGraphPaused(LuaState state);
int VelmoraIsGraphRunning(LuaState state);
int VelmoraIsGraphStopped(LuaState state);
int VelmoraSetVolume(LuaState state);
int VelmoraGetVolume(LuaState state);
int VelmoraSetBalance(LuaState state);
int VelmoraGetBalance(LuaState state);
int VelmoraGetDuration(LuaState state);
int VelmoraGetCurrentPosition(LuaState state);
int VelmoraGetStopPosition(LuaState state);
int VelmoraGetRate(LuaState state);
int VelmoraSetRate(LuaState state);
int VelmoraSetCurrentPosition(LuaState state);
int VelmoraIsVideo(LuaState state);
int VelmoraRenderVideo(LuaState state);
int VelmoraGetVideoSize(LuaState state);
