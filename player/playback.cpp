// Playback control and queries: thin handlers over the graph's control,
// seeking and audio interfaces.
#include "module_entry.h"
#include "units.h"
#include "velmora.h"

namespace {

// The three state queries wait this long for the graph's answer.
constexpr LONG STATE_TIMEOUT_MS = 10;

int ChangeState(LuaState state, HRESULT (STDMETHODCALLTYPE IMediaControl::*change)(), const char* failure)
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    if (FAILED((record->mediaControl->*change)())) HostOf(state)->PrintMessage(failure);
    return 0;
}

int IsGraphIn(LuaState state, FILTER_STATE wanted)
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    OAFilterState current = State_Stopped;
    if (FAILED(record->mediaControl->GetState(STATE_TIMEOUT_MS, &current))) {
        HostOf(state)->PrintMessage("Velmora: Failed to get the state of the graph.\n");
        return 0;
    }
    HostOf(state)->PushBoolean(current == wanted);
    return 1;
}

// A getter whose call failed still answers, with 0.
int GetAudioLevel(LuaState state, HRESULT (STDMETHODCALLTYPE IBasicAudio::*get)(long*))
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    long level = 0;
    (record->basicAudio->*get)(&level);
    HostOf(state)->PushFloat(static_cast<float>(level));
    return 1;
}

int SetAudioLevel(LuaState state, HRESULT (STDMETHODCALLTYPE IBasicAudio::*put)(long))
{
    Velmora* record = CheckedRecord(state, {HOST_TYPE_NUMBER});
    if (!record) return 0;
    (record->basicAudio->*put)(HostOf(state)->ArgNumber(2));
    return 0;
}

int GetTime(LuaState state, HRESULT (STDMETHODCALLTYPE IMediaSeeking::*get)(LONGLONG*))
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    LONGLONG time = 0;
    (record->mediaSeeking->*get)(&time);
    HostOf(state)->PushFloat(ReferenceTimeToSeconds(time));
    return 1;
}

}  // namespace

int VelmoraHasFilters(LuaState state)
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    int count = 0;
    IEnumFilters* filters = nullptr;
    if (SUCCEEDED(record->graphBuilder->EnumFilters(&filters)) && filters) {
        IBaseFilter* current = nullptr;
        while (filters->Next(1, &current, nullptr) == S_OK) {
            count++;
            current->Release();
            current = nullptr;
        }
        filters->Release();
    }
    HostOf(state)->PushBoolean(count > 0);
    return 1;
}

int VelmoraRunGraph(LuaState state)
{
    return ChangeState(state, &IMediaControl::Run, "Velmora: Failed to run the graph.\n");
}

int VelmoraStopGraph(LuaState state)
{
    return ChangeState(state, &IMediaControl::Stop, "Velmora: Failed to stop the graph.\n");
}

int VelmoraPauseGraph(LuaState state)
{
    return ChangeState(state, &IMediaControl::Pause, "Velmora: Failed to pause the graph.\n");
}

int VelmoraIsGraphPaused(LuaState state) { return IsGraphIn(state, State_Paused); }
int VelmoraIsGraphRunning(LuaState state) { return IsGraphIn(state, State_Running); }
int VelmoraIsGraphStopped(LuaState state) { return IsGraphIn(state, State_Stopped); }

int VelmoraSetVolume(LuaState state) { return SetAudioLevel(state, &IBasicAudio::put_Volume); }
int VelmoraGetVolume(LuaState state) { return GetAudioLevel(state, &IBasicAudio::get_Volume); }
int VelmoraSetBalance(LuaState state) { return SetAudioLevel(state, &IBasicAudio::put_Balance); }
int VelmoraGetBalance(LuaState state) { return GetAudioLevel(state, &IBasicAudio::get_Balance); }

int VelmoraGetDuration(LuaState state) { return GetTime(state, &IMediaSeeking::GetDuration); }
int VelmoraGetCurrentPosition(LuaState state) { return GetTime(state, &IMediaSeeking::GetCurrentPosition); }
int VelmoraGetStopPosition(LuaState state) { return GetTime(state, &IMediaSeeking::GetStopPosition); }

int VelmoraGetRate(LuaState state)
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    double rate = 0.0;
    record->mediaSeeking->GetRate(&rate);
    HostOf(state)->PushFloat(static_cast<float>(rate));
    return 1;
}

int VelmoraSetRate(LuaState state)
{
    Velmora* record = CheckedRecord(state, {HOST_TYPE_NUMBER});
    if (!record) return 0;
    record->mediaSeeking->SetRate(HostOf(state)->ArgFloat(2));
    return 0;
}

int VelmoraSetCurrentPosition(LuaState state)
{
    Velmora* record = CheckedRecord(state, {HOST_TYPE_NUMBER});
    if (!record) return 0;
    LONGLONG position = SecondsToReferenceTime(HostOf(state)->ArgFloat(2));
    if (FAILED(record->mediaSeeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                                  AM_SEEKING_NoPositioning)))
        HostOf(state)->PrintMessage("Velmora: Failed to set current position.\n");
    return 0;
}
