-- RenderFile against real files: the graph it builds, the geometry it
-- records, and files that do not render.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")
local RENDER_FAILED = "Unable to render the specified file.  This may be due to a missing codec.\n"

local function filters(index)
  local set = {}
  for _, name in ipairs(Host.Graphs()[index or 1]) do set[name] = true end
  return set
end

local p = Velmora.New()
local function sizes() return table.concat({p:GetVideoSize()}, " ") end

-- Video: routed through the grabber into the null renderer.
local videos = {
  {"clip.avi", "320 240"}, {"clip.mp4", "320 240"}, {"clip.mkv", "320 240"},
  {"clip.webm", "320 240"}, {"silent.avi", "320 240"},
  {"quadrants-322x240.avi", "322 240"}, {"quadrants-854x480.avi", "854 480"},
  {"quadrants-1920x1080.avi", "1920 1080"}, {"caf\233.avi", "322 240"},
}
for _, case in ipairs(videos) do
  local name, size = case[1], case[2]
  p:RenderFile(t.path(name))
  local have = filters()
  assert(have["Grabber"] and have["NULL Renderer"], name .. ": grabber or null renderer missing")
  assert(not have["Video Renderer"], name .. ": the video renderer is still in the graph")
  assert(p:IsVideo() == true, name .. ": IsVideo false")
  assert(sizes() == size .. " 1024 1024", name .. ": sizes " .. sizes())
  assert(p:IsGraphStopped() == true, name .. ": graph left running")
  local reports = t.new_reports()
  assert(#reports == 0, name .. ": reported " .. tostring(reports[1]))
end

-- Audio only: default graph, geometry of the last video kept.
for _, name in ipairs({"tone.mp3", "tone.ogg", "tone.wav"}) do
  p:RenderFile(t.path(name))
  local have = filters()
  assert(not have["Grabber"] and not have["NULL Renderer"], name .. ": player filters left in the graph")
  assert(have["Default DirectSound Device"], name .. ": no audio renderer")
  assert(p:IsVideo() == false, name .. ": IsVideo true")
  assert(sizes() == "322 240 1024 1024", name .. ": sizes " .. sizes())
  assert(p:HasFilters() == true)
end

-- Files that do not render: reported, never fatal, and the player renders
-- the next good file as usual.
local long = t.media .. "\\" .. string.rep("x", 300) .. ".avi"
for _, name in ipairs({"empty.avi", "noise.avi", "notes.mp4", "missing.avi", "folder.avi", long}) do
  local path = name == long and long or t.path(name)
  p:RenderFile(path)
  local reports = t.new_reports()
  assert(reports[1] == RENDER_FAILED or not p:IsVideo(), name .. ": neither reported nor empty")
  assert(p:IsVideo() == false, name .. ": IsVideo true")
  p:RenderFile(t.path("clip.avi"))
  assert(p:IsVideo() == true and sizes() == "320 240 1024 1024", "after " .. name .. ": " .. sizes())
  t.new_reports()
end
for _, name in ipairs({"missing.avi", long}) do
  p:RenderFile(name == long and long or t.path(name))
  assert(t.new_reports()[1] == RENDER_FAILED, name .. ": no report")
end

-- A file cut in half renders what it can, or is reported; either way the
-- player goes on.
p:RenderFile(t.path("truncated.avi"))
p:RunGraph()
Host.Sleep(500)
p:StopGraph()
t.new_reports()

-- Wrong arguments: the script error of their position, the graph untouched.
p:RenderFile(t.path("clip.avi"))
local other = {RenderFile = getmetatable(p).__index.RenderFile}
local cases = {
  {function() p:RenderFile(12) end, "bad argument #2 to 'RenderFile' (string expected, got number)"},
  {function() p:RenderFile() end, "bad argument #2 to 'RenderFile' (string expected, got no value)"},
  {function() other:RenderFile(t.path("tone.wav")) end, "bad argument #1 to 'RenderFile'"},
  {function() other.RenderFile("clip.avi", t.path("tone.wav")) end, "bad argument #1 to 'RenderFile'"},
}
for _, case in ipairs(cases) do
  local ok, err = pcall(case[1])
  assert(not ok and err:find(case[2], 1, true), "got " .. tostring(err) .. ", expected " .. case[2])
end
assert(p:IsVideo() == true and filters()["Grabber"], "a refused call changed the graph")
assert(#t.new_messages() == 0)
