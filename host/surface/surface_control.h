// What the stand-in surface module records, read by the host for scripts.
#pragma once

#include <vector>

struct SurfaceDraw {
    int texture;
    int color[4];
    int rect[4];
};

struct SurfaceTexture {
    int width = 0;
    int height = 0;
    int uploads = 0;
    bool invalid = false;  // set by a test: the surface then calls it not drawable
    std::vector<unsigned char> pixels;  // RGBA, rows top first
};

struct SurfaceRecord {
    std::vector<SurfaceDraw> draws;
    std::vector<SurfaceTexture> textures;  // index = id - 1
};

// Exported by vguimatsurface.dll for the host only.
typedef SurfaceRecord* (*SurfaceRecordFn)();
