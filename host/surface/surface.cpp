// Stand-in for the engine's drawing surface: keeps every texture's pixels in
// memory and records every draw, so that tests can see what a module drew.
#include <cstring>

#include "surface.h"
#include "surface_control.h"

namespace {

class StandInSurface : public IVguiSurface {
public:
    void SetDrawColor(int r, int g, int b, int a) override
    {
        color[0] = r; color[1] = g; color[2] = b; color[3] = a;
    }

    void UploadTextureRGBA(int id, const unsigned char* rgba, int width, int height, int, int) override
    {
        SurfaceTexture* texture = Find(id);
        if (!texture) return;
        texture->uploads++;
        if (!rgba || width <= 0 || height <= 0) return;
        texture->width = width;
        texture->height = height;
        texture->pixels.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
    }

    void BindTexture(int id) override { bound = id; }

    void DrawTexturedRectangle(int left, int top, int right, int bottom) override
    {
        record.draws.push_back({bound, {color[0], color[1], color[2], color[3]}, {left, top, right, bottom}});
    }

    // A texture is drawable once it has pixels.
    bool IsTextureValid(int id) override
    {
        SurfaceTexture* texture = Find(id);
        return texture && !texture->pixels.empty() && !texture->invalid;
    }

    int CreateTexture(int) override
    {
        record.textures.emplace_back();
        return static_cast<int>(record.textures.size());
    }

    SurfaceRecord record;

private:
    SurfaceTexture* Find(int id)
    {
        if (id < 1 || id > static_cast<int>(record.textures.size())) return nullptr;
        return &record.textures[id - 1];
    }

    int color[4] = {0, 0, 0, 0};
    int bound = 0;
};

StandInSurface g_standInSurface;

}  // namespace

extern "C" __declspec(dllexport) void* CreateInterface(const char* name, int* returnCode)
{
#ifdef SURFACE_ANSWERS_NULL
    bool found = false;  // a module that knows no surface
    (void)name;
#else
    bool found = name && std::strcmp(name, SURFACE_INTERFACE_VERSION) == 0;
#endif
    if (returnCode) *returnCode = found ? 0 : 1;
    return found ? static_cast<IVguiSurface*>(&g_standInSurface) : nullptr;
}

extern "C" __declspec(dllexport) SurfaceRecord* StandInSurfaceRecord()
{
    return &g_standInSurface.record;
}
