#include "host_tables.h"

#include <windows.h>

#include "class_watch.h"
#include "lua_host.h"
#include "proc_address.h"
#include "surface.h"
#include "surface_control.h"
#include "tier0_control.h"

extern "C" {
#include "lauxlib.h"
}

namespace {

LuaHost* g_tablesHost = nullptr;

int PushTexts(lua_State* L, const std::vector<std::string>& texts)
{
    lua_createtable(L, static_cast<int>(texts.size()), 0);
    for (size_t i = 0; i < texts.size(); i++) {
        lua_pushlstring(L, texts[i].data(), texts[i].size());
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
    return 1;
}

// What the stand-in surface recorded; null when no surface module is loaded.
SurfaceRecord* Record()
{
    HMODULE surface = GetModuleHandleA(SURFACE_MODULE_NAME);
    if (!surface) return nullptr;
    auto record = ProcAddress<SurfaceRecordFn>(surface, "StandInSurfaceRecord");
    return record ? record() : nullptr;
}

const SurfaceTexture* TextureArg(lua_State* L)
{
    SurfaceRecord* record = Record();
    int id = luaL_checkint(L, 1);
    if (!record || id < 1 || id > static_cast<int>(record->textures.size())) return nullptr;
    return &record->textures[id - 1];
}

int HostSleep(lua_State* L)
{
    Sleep(static_cast<DWORD>(luaL_checknumber(L, 1)));
    return 0;
}

int HostClock(lua_State* L)
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    lua_pushnumber(L, static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 1;
}

int HostPrinted(lua_State* L) { return PushTexts(L, g_tablesHost->printed); }
int HostReported(lua_State* L) { return PushTexts(L, g_tablesHost->reported); }

int HostTier0Errors(lua_State* L)
{
    HMODULE tier0 = GetModuleHandleA("tier0.dll");
    auto control = tier0 ? ProcAddress<Tier0ControlFn>(tier0, "StandInTier0Control") : nullptr;
    return PushTexts(L, control ? control()->errors : std::vector<std::string>());
}

// The filter names of every live graph, when the host watches them.
int HostGraphs(lua_State* L)
{
    std::vector<std::vector<std::string>> graphs = WatchedGraphs();
    lua_createtable(L, static_cast<int>(graphs.size()), 0);
    for (size_t i = 0; i < graphs.size(); i++) {
        PushTexts(L, graphs[i]);
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
    return 1;
}

int SurfaceDraws(lua_State* L)
{
    SurfaceRecord* record = Record();
    lua_newtable(L);
    if (!record) return 1;
    int index = 1;
    for (const SurfaceDraw& draw : record->draws) {
        lua_newtable(L);
        lua_pushinteger(L, draw.texture);
        lua_setfield(L, -2, "texture");
        const char* names[2] = {"color", "rect"};
        const int* values[2] = {draw.color, draw.rect};
        for (int part = 0; part < 2; part++) {
            lua_createtable(L, 4, 0);
            for (int i = 0; i < 4; i++) {
                lua_pushinteger(L, values[part][i]);
                lua_rawseti(L, -2, i + 1);
            }
            lua_setfield(L, -2, names[part]);
        }
        lua_rawseti(L, -2, index++);
    }
    return 1;
}

int SurfaceUploads(lua_State* L)
{
    const SurfaceTexture* texture = TextureArg(L);
    lua_pushinteger(L, texture ? texture->uploads : 0);
    return 1;
}

int SurfacePixel(lua_State* L)
{
    const SurfaceTexture* texture = TextureArg(L);
    int x = luaL_checkint(L, 2), y = luaL_checkint(L, 3);
    if (!texture || x < 0 || y < 0 || x >= texture->width || y >= texture->height) return 0;
    const unsigned char* pixel = &texture->pixels[(static_cast<size_t>(y) * texture->width + x) * 4];
    for (int i = 0; i < 4; i++) lua_pushinteger(L, pixel[i]);
    return 4;
}

int SurfaceInvalidate(lua_State* L)
{
    SurfaceRecord* record = Record();
    int id = luaL_checkint(L, 1);
    if (record && id >= 1 && id <= static_cast<int>(record->textures.size())) record->textures[id - 1].invalid = true;
    return 0;
}

int SurfaceTextures(lua_State* L)
{
    SurfaceRecord* record = Record();
    lua_pushinteger(L, record ? static_cast<int>(record->textures.size()) : 0);
    return 1;
}

}  // namespace

void RegisterHostTables(lua_State* L, LuaHost& host)
{
    g_tablesHost = &host;
    const luaL_Reg hostFunctions[] = {
        {"Sleep", HostSleep}, {"Clock", HostClock}, {"Printed", HostPrinted},
        {"Reported", HostReported}, {"Tier0Errors", HostTier0Errors}, {"Graphs", HostGraphs},
        {nullptr, nullptr}};
    const luaL_Reg surfaceFunctions[] = {
        {"Draws", SurfaceDraws}, {"Uploads", SurfaceUploads}, {"Pixel", SurfacePixel},
        {"Textures", SurfaceTextures}, {"Invalidate", SurfaceInvalidate}, {nullptr, nullptr}};
    luaL_register(L, "Host", hostFunctions);
    luaL_register(L, "Surface", surfaceFunctions);
    lua_pop(L, 2);
}
