// Folder listing, drives, file size, path test and the host executable.
#include <windows.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "media_types.h"
#include "module_entry.h"
#include "number_convert.h"
#include "tarnic_functions.h"

int FindMedia(LuaState state)
{
    const char* folder = HostOf(state)->ArgString(1);
    if (folder == nullptr)
        return 0;

    WIN32_FIND_DATAA filedata;
    std::memset(&filedata, 0, sizeof filedata);
    char filename[260];
    // A folder too long for the pattern would search a cut path: no result.
    const int written = std::snprintf(filename, sizeof filename, "%s\\*", folder);
    if (written < 0 || written >= static_cast<int>(sizeof filename))
        return 0;

    HANDLE search = FindFirstFileA(filename, &filedata);
    if (search == INVALID_HANDLE_VALUE)
        return 0;

    ILuaHostObject* folders = HostOf(state)->CreateTable();
    ILuaHostObject* media = HostOf(state)->CreateTable();
    if (folders == nullptr || media == nullptr) {
        FindClose(search);
        return 0;
    }

    float folderCount = 0.0f;
    float mediaCount = 0.0f;
    do {
        const char* entry = filedata.cFileName;
        if (entry[0] == '.')
            continue;  // ".", ".." and dot-names
        if ((filedata.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
            continue;
        if ((filedata.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            folderCount += 1.0f;
            folders->SetIndexText(folderCount, entry);
        } else if (HasMediaExtension(entry)) {
            mediaCount += 1.0f;
            media->SetIndexText(mediaCount, entry);
        }
    } while (FindNextFileA(search, &filedata) == 1);
    FindClose(search);

    folders->PushObject();
    media->PushObject();
    return 2;
}

int FindDrives(LuaState state)
{
    int letterIndex = 0;
    int driveCount = 0;
    DWORD mask = GetLogicalDrives();

    ILuaHostObject* drives = HostOf(state)->CreateTable();
    if (drives == nullptr)
        return 0;

    for (; mask != 0; mask >>= 1, ++letterIndex) {
        if ((mask & 1) == 0)
            continue;

        char path[4];
        std::snprintf(path, sizeof path, "%c", 'A' + letterIndex);

        ILuaHostObject* drive = HostOf(state)->CreateTable();
        if (drive == nullptr)
            continue;  // left out; keys stay consecutive

        drive->SetFieldText("letter", path);

        // The letter becomes the root, e.g. C:\, filling all 4 bytes.
        path[1] = ':';
        path[2] = '\\';
        path[3] = '\0';
        const UINT type = GetDriveTypeA(path);
        drive->SetFieldNumber("type", static_cast<float>(type));

        char name[260];
        char systemname[260];
        std::memset(name, 0, sizeof name);
        std::memset(systemname, 0, sizeof systemname);
        // Left empty when the volume cannot be read, e.g. no medium.
        GetVolumeInformationA(path, name, 260, nullptr, nullptr, nullptr, systemname, 260);
        drive->SetFieldText("filesystem", systemname);
        drive->SetFieldText("name", name);

        ++driveCount;
        drives->SetIndexObject(static_cast<float>(driveCount), drive);
    }

    drives->PushObject();
    return 1;
}

int GetMediaSize(LuaState state)
{
    const char* path = HostOf(state)->ArgString(1);
    if (path == nullptr)
        return 0;

    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;

    // The high part too, so files of 4 GiB and more report their size.
    // A low part of all ones is also a valid size; only the error tells.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        CloseHandle(file);
        return 0;
    }
    CloseHandle(file);

    const std::uint64_t size = (static_cast<std::uint64_t>(high) << 32) | low;
    HostOf(state)->PushFloat(FileSizeToFloat(size));
    return 1;
}

int PathExists(LuaState state)
{
    const char* path = HostOf(state)->ArgString(1);
    const bool exists = path != nullptr && PathFileExistsA(path) != FALSE;
    HostOf(state)->PushBoolean(exists);
    return 1;
}

int GetGameExe(LuaState state)
{
    char Buffer[260];
    const DWORD length = GetModuleFileNameA(nullptr, Buffer, 260);
    if (length == 0)
        Buffer[0] = '\0';
    else if (length >= sizeof Buffer)
        Buffer[sizeof Buffer - 1] = '\0';  // XP leaves a cut path unterminated
    HostOf(state)->PushText(Buffer);
    return 1;
}
