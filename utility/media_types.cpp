#include "media_types.h"

#include <cstring>

const char g_mediaTypes[MEDIA_TYPE_COUNT][MEDIA_TYPE_CELL] = {
    "wav", "mp3", "wma", "ogg", "aac", "flac", "aiff", "ra", "ram", "mid",
    "midi", "au", "mp4", "m4a", "mkv", "avi", "mpg", "ogm", "flv",
};

bool HasMediaExtension(const char* name)
{
    char extension[260];
    std::memset(extension, 0, sizeof extension);

    const char* dot = std::strrchr(name, '.');
    if (dot != nullptr) {
        // Anything longer than the buffer matches no entry anyway; keep the
        // last byte as the terminator.
        std::strncpy(extension, dot + 1, sizeof extension - 1);
    }

    for (int i = 0; i < MEDIA_TYPE_COUNT; ++i) {
        if (std::strcmp(extension, g_mediaTypes[i]) == 0)
            return true;
    }
    return false;
}
