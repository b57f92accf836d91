// Video queries, and drawing the latest frame through the engine's surface.
#include "module_entry.h"
#include "surface.h"
#include "units.h"
#include "velmora.h"

extern IVguiSurface* g_surface;

int VelmoraIsVideo(LuaState state)
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    HostOf(state)->PushBoolean(record->hasVideo);
    return 1;
}

int VelmoraGetVideoSize(LuaState state)
{
    Velmora* record = CheckedRecord(state);
    if (!record) return 0;
    HostOf(state)->PushInteger(record->videoWidth);
    HostOf(state)->PushInteger(record->videoHeight);
    HostOf(state)->PushInteger(record->textureWidth);
    HostOf(state)->PushInteger(record->textureHeight);
    return 4;
}

int VelmoraRenderVideo(LuaState state)
{
    Velmora* record =
        CheckedRecord(state, {HOST_TYPE_NUMBER, HOST_TYPE_NUMBER, HOST_TYPE_NUMBER, HOST_TYPE_NUMBER});
    // Without the engine's surface there is nothing to draw on.
    if (!record || !g_surface) return 0;

    if (record->frameBuffer) {
        // The whole texture, so that a frame is never seen half written.
        CLockGuard lock(&record->frameLock);
        g_surface->UploadTextureRGBA(record->textureId, record->frameBuffer, record->textureWidth,
                                     record->textureHeight, 0, 1);
    }
    if (!g_surface->IsTextureValid(record->textureId)) return 0;

    const int x = HostOf(state)->ArgNumber(2);
    const int y = HostOf(state)->ArgNumber(3);
    const int w = HostOf(state)->ArgNumber(4);
    const int h = HostOf(state)->ArgNumber(5);
    g_surface->SetDrawColor(255, 255, 255, 255);
    g_surface->BindTexture(record->textureId);
    g_surface->DrawTexturedRectangle(x, y, SaturatedSum(x, w), SaturatedSum(y, h));
    return 0;
}
