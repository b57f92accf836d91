// Creation and collection of player objects, and the checks every method
// starts with.
#include <cstdlib>
#include <new>
#include <vector>

#include "filter_classes.h"
#include "module_entry.h"
#include "surface.h"
#include "velmora.h"

extern IVguiSurface* g_surface;

namespace {

// Records that New made and __gc has not yet freed. A script can reach a
// record after its collector ran (by calling __gc itself, or through an
// object resurrected by another finalizer); such a record is no longer here.
// Few players live at once; a list is enough.
std::vector<Velmora*> g_liveRecords;

template <typename T>
void ReleaseInterface(T*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

void ReleaseInterfaces(Velmora* record)
{
    ReleaseInterface(record->sampleGrabber);
    ReleaseInterface(record->grabberFilter);
    ReleaseInterface(record->nullRenderer);
    ReleaseInterface(record->basicAudio);
    ReleaseInterface(record->basicVideo);
    ReleaseInterface(record->videoWindow);
    ReleaseInterface(record->mediaSeeking);
    ReleaseInterface(record->mediaControl);
    ReleaseInterface(record->graphBuilder);
}

// Steps 2 to 6 of creation; the message of the first step that fails, or null.
const char* CreateGraph(Velmora* record)
{
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&record->graphBuilder))))
        return "Velmora: Cannot create the graph builder.\n";
    if (FAILED(record->graphBuilder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&record->mediaControl))))
        return "Velmora: Cannot retreive the IMediaControl interface.\n";
    if (FAILED(record->graphBuilder->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&record->mediaSeeking))))
        return "Velmora: Cannot retreive the IMediaSeeking interface.\n";
    if (FAILED(record->graphBuilder->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&record->basicAudio))))
        return "Velmora: Cannot retreive the IBasicAudio interface.\n";
    if (FAILED(CoCreateInstance(kSampleGrabberClass, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&record->grabberFilter))))
        return "Velmora: Cannot create the sample grabber filter.\n";
    if (FAILED(record->grabberFilter->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(&record->sampleGrabber))))
        return "Velmora: Cannot retreive the ISampleGrabber interface.\n";
    if (FAILED(CoCreateInstance(kNullRendererClass, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&record->nullRenderer))))
        return "Velmora: Cannot create the null renderer filter.\n";
    if (FAILED(record->graphBuilder->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&record->videoWindow))))
        return "Velmora: Cannot retreive the IVideoWindow interface.\n";
    if (FAILED(record->graphBuilder->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&record->basicVideo))))
        return "Velmora: Cannot retreive the IBasicVideo interface.\n";
    return nullptr;
}

// 24-bit RGB video with a VIDEOINFOHEADER: frames arrive as bottom-up BGR.
void SetUpGrabber(Velmora* record)
{
    AM_MEDIA_TYPE type = {};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.formattype = FORMAT_VideoInfo;
    record->sampleGrabber->SetMediaType(&type);
    record->sampleGrabber->SetBufferSamples(FALSE);
    record->sampleGrabber->SetOneShot(FALSE);

    record->sampleCallback.SetOwnerLock(&record->frameLock);
    record->sampleCallback.SetOwner(record);
    record->sampleGrabber->SetCallback(&record->sampleCallback, 1);
}

void TrackRecord(Velmora* record) { g_liveRecords.push_back(record); }

void ForgetRecord(Velmora* record)
{
    for (size_t i = 0; i < g_liveRecords.size(); i++) {
        if (g_liveRecords[i] == record) {
            g_liveRecords[i] = g_liveRecords.back();
            g_liveRecords.pop_back();
            return;
        }
    }
}

bool IsLiveRecord(const Velmora* record)
{
    for (const Velmora* live : g_liveRecords)
        if (live == record) return true;
    return false;
}

}  // namespace

Velmora* CheckedRecord(LuaState state, std::initializer_list<int> argumentTypes)
{
    if (HostOf(state)->ArgType(1) != VELMORA_TYPE_ID) {
        HostOf(state)->RaiseScriptError(HostOf(state)->TypeErrorMessage(VELMORA_TYPE_ID), 1);
        return nullptr;
    }
    int position = 2;
    for (int code : argumentTypes) {
        if (HostOf(state)->ArgType(position) != code) {
            HostOf(state)->RaiseScriptError(HostOf(state)->TypeErrorMessage(code), position);
            return nullptr;
        }
        position++;
    }
    auto* record = static_cast<Velmora*>(HostOf(state)->ArgUserData(1));
    if (!record || !IsLiveRecord(record) || !record->graphBuilder || !record->basicAudio ||
        !record->mediaControl || !record->mediaSeeking || !record->sampleGrabber) {
        HostOf(state)->PrintMessage("Velmora: Invalid Velmora structure.\n");
        return nullptr;
    }
    return record;
}

void EmptyGraph(IGraphBuilder* graph)
{
    IEnumFilters* filters = nullptr;
    if (FAILED(graph->EnumFilters(&filters)) || !filters) return;
    IBaseFilter* filter = nullptr;
    // Removing a filter invalidates the enumeration: start again each time.
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        graph->RemoveFilter(filter);
        filter->Release();
        filter = nullptr;
        filters->Reset();
    }
    filters->Release();
}

int VelmoraNew(LuaState state)
{
    auto* record = new (std::nothrow) Velmora();
    if (!record) {
        HostOf(state)->PrintMessage("Velmora: Cannot allocate the player.\n");
        return 0;
    }
    if (const char* failure = CreateGraph(record)) {
        HostOf(state)->PrintMessage(failure);
        ReleaseInterfaces(record);
        delete record;
        return 0;
    }
    SetUpGrabber(record);

    // Without the drawing surface the player still plays; RenderVideo then
    // draws nothing.
    if (g_surface) record->textureId = g_surface->CreateTexture(1);

    // Cleared, so that a texture drawn before the first frame is transparent.
    record->frameBuffer = static_cast<uint8_t*>(calloc(1, FRAME_BUFFER_BYTES));
    if (!record->frameBuffer) {
        HostOf(state)->PrintMessage("Velmora: Cannot allocate the frame buffer.\n");
        record->sampleGrabber->SetCallback(nullptr, 1);
        ReleaseInterfaces(record);
        delete record;
        return 0;
    }

    TrackRecord(record);
    ILuaHostObject* metatable = HostOf(state)->FindMetaTable(VELMORA_CLASS_NAME, VELMORA_TYPE_ID);
    HostOf(state)->PushTypedUserData(metatable, record);
    return 1;
}

int VelmoraCollect(LuaState state)
{
    if (HostOf(state)->ArgType(1) != VELMORA_TYPE_ID) {
        HostOf(state)->RaiseScriptError(HostOf(state)->TypeErrorMessage(VELMORA_TYPE_ID), 1);
        return 0;
    }
    auto* record = static_cast<Velmora*>(HostOf(state)->ArgUserData(1));
    if (!record || !IsLiveRecord(record)) {
        HostOf(state)->PrintMessage("Velmora: Velmora structure is NULL.\n");
        return 0;
    }

    if (record->mediaControl && FAILED(record->mediaControl->Stop()))
        HostOf(state)->PrintMessage("Velmora: Failed to stop rendering the graph.\n");
    if (record->graphBuilder) EmptyGraph(record->graphBuilder);

    // The grabber may outlive this record in DirectShow's hands: take the
    // callback back, and wait out a frame still being converted.
    if (record->sampleGrabber) record->sampleGrabber->SetCallback(nullptr, 1);
    {
        CLockGuard lock(&record->frameLock);
        record->sampleCallback.SetOwner(nullptr);
        free(record->frameBuffer);
        record->frameBuffer = nullptr;
    }

    ReleaseInterfaces(record);
    ForgetRecord(record);
    delete record;
    return 0;
}
