-- New and __gc: independent players, a fresh player's answers, and a
-- collector that a script cannot turn into a crash.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")

local a = Velmora.New("ignored", 42)
local b = Velmora.New()
assert(type(a) == "userdata" and type(b) == "userdata", "New gave no player")
assert(a ~= b)
assert(Surface.Textures() == 2, "each player makes its own texture, got " .. Surface.Textures())

-- A fresh player: empty graph, no video, four zeros.
assert(a:HasFilters() == false, "a new graph holds filters")
assert(a:IsVideo() == false)
local w, h, tw, th = a:GetVideoSize()
assert(w == 0 and h == 0 and tw == 0 and th == 0, "sizes " .. w .. " " .. h .. " " .. tw .. " " .. th)
assert(a:IsGraphStopped() == true)

-- Players are independent: rendering into one leaves the other empty.
a:RenderFile(t.path("quadrants-322x240.avi"))
assert(a:HasFilters() == true and a:IsVideo() == true)
assert(b:HasFilters() == false and b:IsVideo() == false)

-- The collector called by the script, then again, then a method.
local collect = getmetatable(b).__gc
collect(b)
collect(b)
assert(b:IsVideo() == nil, "a collected player still answered")
local messages = t.new_messages()
assert(messages[1] == "Velmora: Velmora structure is NULL.\n", tostring(messages[1]))
assert(messages[2] == "Velmora: Invalid Velmora structure.\n", tostring(messages[2]))

-- The collector with something else raises the type error, frees nothing.
local ok, err = pcall(collect, 12)
assert(not ok and err:find("bad argument #1", 1, true), tostring(err))
assert(a:IsVideo() == true)

-- Players that played, collected by the host, many times over.
a:RunGraph()
a = nil
for _ = 1, 20 do
  local p = Velmora.New()
  p:RenderFile(t.path("tone.wav"))
  p:RunGraph()
end
collectgarbage("collect")
collectgarbage("collect")
local fresh = t.new_messages()
assert(#fresh == 0, "collection printed: " .. tostring(fresh[1]))
-- Nothing of the collected players' graphs is still referenced.
assert(#Host.Graphs() == 0, #Host.Graphs() .. " graphs outlived their players")
assert(Velmora.New():HasFilters() == false)
