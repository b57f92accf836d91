// The media file extensions the module recognises, and the test on a name.
#pragma once

enum {
    MEDIA_TYPE_COUNT = 19,
    // Four characters and the NUL.
    MEDIA_TYPE_CELL = 5,
};

// Lower case, without the dot; this order is the order scripts see.
extern const char g_mediaTypes[MEDIA_TYPE_COUNT][MEDIA_TYPE_CELL];

// Whether the text after the name's last dot is one of g_mediaTypes,
// compared byte for byte, so case matters.
bool HasMediaExtension(const char* name);
