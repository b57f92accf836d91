// Start and close of gmcl_tarnic: builds the Tarnic table, its MediaTypes
// list and the drive-type globals.
#include "media_types.h"
#include "module_entry.h"
#include "tarnic_functions.h"

int ModuleStart(LuaState state)
{
    HostOf(state)->CreateGlobalTable("Tarnic");

    ILuaHostObject* tarnic = HostOf(state)->FindGlobal("Tarnic");
    if (tarnic != nullptr) {
        tarnic->SetFieldFunction("GetGameExe", GetGameExe);
        tarnic->SetFieldFunction("FindMedia", FindMedia);
        tarnic->SetFieldFunction("FindDrives", FindDrives);
        tarnic->SetFieldFunction("GetMediaSize", GetMediaSize);
        tarnic->SetFieldFunction("PerformanceStart", PerformanceStart);
        tarnic->SetFieldFunction("PerformanceEnd", PerformanceEnd);
        tarnic->SetFieldFunction("PathExists", PathExists);

        ILuaHostObject* types = HostOf(state)->CreateTable();
        if (types != nullptr) {
            for (int i = 1; i <= MEDIA_TYPE_COUNT; ++i)
                types->SetIndexText(static_cast<float>(i), g_mediaTypes[i - 1]);
            tarnic->SetFieldObject("MediaTypes", types);
        }
    }

    // The codes GetDriveTypeA returns, for comparing FindDrives' "type".
    HostOf(state)->SetGlobalNumberValue("DRIVE_UNKNOWN", 0.0f);
    HostOf(state)->SetGlobalNumberValue("DRIVE_NO_ROOT_DIR", 1.0f);
    HostOf(state)->SetGlobalNumberValue("DRIVE_REMOVABLE", 2.0f);
    HostOf(state)->SetGlobalNumberValue("DRIVE_FIXED", 3.0f);
    HostOf(state)->SetGlobalNumberValue("DRIVE_REMOTE", 4.0f);
    HostOf(state)->SetGlobalNumberValue("DRIVE_CDROM", 5.0f);
    HostOf(state)->SetGlobalNumberValue("DRIVE_RAMDISK", 6.0f);
    return 0;
}

// Everything lives in the host's Lua state; nothing to take down.
int ModuleClose(LuaState)
{
    return 0;
}
