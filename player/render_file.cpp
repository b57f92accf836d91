// RenderFile: builds the file's playback graph and routes its video through
// the player's Sample Grabber into the Null Renderer.
#include "module_entry.h"
#include "velmora.h"

namespace {

const wchar_t kVideoRendererName[] = L"Video Renderer";
const wchar_t kGrabberName[] = L"Grabber";
const wchar_t kNullRendererName[] = L"NULL Renderer";
const char kRenderFailed[] = "Unable to render the specified file.  This may be due to a missing codec.\n";

// MAX_PATH wide characters, terminator included.
constexpr int PATH_CHARACTERS = 260;

// The first pin of the filter with that direction, holding a reference; or null.
IPin* FindFirstPin(IBaseFilter* filter, PIN_DIRECTION direction)
{
    if (!filter) return nullptr;
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)) || !pins) return nullptr;
    IPin* found = nullptr;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION pinDirection = PINDIR_INPUT;
        if (SUCCEEDED(pin->QueryDirection(&pinDirection)) && pinDirection == direction) {
            found = pin;
            break;
        }
        pin->Release();
        pin = nullptr;
    }
    pins->Release();
    return found;
}

// Frees what the media type owns; the structure itself stays.
void FreeMediaTypeContents(AM_MEDIA_TYPE& type)
{
    if (type.cbFormat != 0) {
        CoTaskMemFree(type.pbFormat);
        type.cbFormat = 0;
        type.pbFormat = nullptr;
    }
    if (type.pUnk) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

// Takes the renderer out of the graph; yields the pin that fed it, or null.
IPin* CutOutRenderer(IGraphBuilder* graph, IBaseFilter* renderer)
{
    IPin* upstream = nullptr;
    if (IPin* input = FindFirstPin(renderer, PINDIR_INPUT)) {
        input->ConnectedTo(&upstream);
        input->Disconnect();
        if (upstream) upstream->Disconnect();
        input->Release();
    }
    graph->RemoveFilter(renderer);
    return upstream;
}

// Connects output to the input pin of that direction on the filter; the
// graph manager may put converters between them.
void ConnectTo(IGraphBuilder* graph, IPin* output, IBaseFilter* filter)
{
    if (!output) return;
    if (IPin* input = FindFirstPin(filter, PINDIR_INPUT)) {
        graph->Connect(output, input);
        input->Release();
    }
}

// The geometry of the format the grabber accepted, under the frame lock.
void RecordGeometry(Velmora* record)
{
    AM_MEDIA_TYPE type = {};
    if (FAILED(record->sampleGrabber->GetConnectedMediaType(&type))) return;
    if (type.formattype == FORMAT_VideoInfo && type.pbFormat && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const BITMAPINFOHEADER& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
        CLockGuard lock(&record->frameLock);
        record->videoWidth = header.biWidth;
        record->videoHeight = header.biHeight;
        record->bytesPerPixel = header.biBitCount / 8;
    }
    FreeMediaTypeContents(type);
}

}  // namespace

int VelmoraRenderFile(LuaState state)
{
    Velmora* record = CheckedRecord(state, {HOST_TYPE_STRING});
    if (!record) return 0;

    // A path that does not fit, or does not convert, renders nothing rather
    // than a truncated or unterminated name.
    wchar_t path[PATH_CHARACTERS];
    const char* text = HostOf(state)->ArgString(2);
    const bool converted = text && MultiByteToWideChar(CP_ACP, 0, text, -1, path, PATH_CHARACTERS) > 0;

    if (FAILED(record->mediaControl->Stop()))
        HostOf(state)->PrintMessage("Velmora: Failed to stop rendering the graph.\n");
    EmptyGraph(record->graphBuilder);

    if (!converted || FAILED(record->graphBuilder->RenderFile(path, nullptr)))
        HostOf(state)->ReportError(kRenderFailed);

    record->hasVideo = false;
    IBaseFilter* renderer = nullptr;
    record->graphBuilder->FindFilterByName(kVideoRendererName, &renderer);
    if (!renderer) return 0;
    record->hasVideo = true;

    IPin* upstream = CutOutRenderer(record->graphBuilder, renderer);
    renderer->Release();

    record->graphBuilder->AddFilter(record->grabberFilter, kGrabberName);
    record->graphBuilder->AddFilter(record->nullRenderer, kNullRendererName);
    ConnectTo(record->graphBuilder, upstream, record->grabberFilter);
    if (upstream) upstream->Release();
    if (IPin* grabberOutput = FindFirstPin(record->grabberFilter, PINDIR_OUTPUT)) {
        ConnectTo(record->graphBuilder, grabberOutput, record->nullRenderer);
        grabberOutput->Release();
    }

    RecordGeometry(record);
    record->textureWidth = TEXTURE_SIDE;
    record->textureHeight = TEXTURE_SIDE;
    return 0;
}
