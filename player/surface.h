// The engine's drawing surface, as the player uses it: the module
// "vguimatsurface.dll" hands it out under SURFACE_INTERFACE_VERSION.
#pragma once

#define SURFACE_MODULE_NAME "vguimatsurface.dll"
#define SURFACE_INTERFACE_VERSION "VGUI_Surface030"

// The operations in the order the interface declares them. All are called on
// the scripting thread only.
class IVguiSurface {
public:
    virtual void SetDrawColor(int r, int g, int b, int a) = 0;
    // The texture's pixels become width x height RGBA pixels read from rgba,
    // rows top first; rgba is read during the call only.
    virtual void UploadTextureRGBA(int id, const unsigned char* rgba, int width, int height,
                                   int filtered, int replace) = 0;
    virtual void BindTexture(int id) = 0;
    // Draws the bound texture, whole, over the rectangle.
    virtual void DrawTexturedRectangle(int left, int top, int right, int bottom) = 0;
    virtual bool IsTextureValid(int id) = 0;
    virtual int CreateTexture(int procedural) = 0;
};

// The signature of an engine module's "CreateInterface" export.
typedef void* (*CreateInterfaceFn)(const char* name, int* returnCode);
