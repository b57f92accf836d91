-- The checks every method starts with: argument types in position order,
-- then the record validity test, before anything is read or called.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")

local p = Velmora.New()
p:RenderFile(t.path("quadrants-322x240.avi"))
local methods = getmetatable(p).__index

local plain = {"HasFilters", "RunGraph", "StopGraph", "PauseGraph", "IsGraphPaused", "IsGraphRunning",
               "IsGraphStopped", "GetVolume", "GetBalance", "GetDuration", "GetCurrentPosition",
               "GetStopPosition", "GetRate", "IsVideo", "GetVideoSize"}
local numeric = {"SetVolume", "SetBalance", "SetRate", "SetCurrentPosition"}
local all = {"RenderFile", "RenderVideo"}
for _, name in ipairs(plain) do all[#all + 1] = name end
for _, name in ipairs(numeric) do all[#all + 1] = name end
local count = 0
for _ in pairs(methods) do count = count + 1 end
assert(count == #all, count .. " methods in the method table")

-- A call with the method's name in it, as Lua names the function in errors.
local function call(name, target)
  return loadstring("local target, methods = ... return function(...) return methods." .. name ..
                    "(target, ...) end")(target, methods)
end

local function raises(fn, expected, what)
  local ok, err = pcall(fn)
  assert(not ok, what .. ": no error")
  assert(err:find(expected, 1, true), what .. ": " .. tostring(err))
end

-- Position 1 that is not a player, for every method.
local others = {{"a number", 5}, {"a string", "player"}, {"a table", {}}, {"nil", nil}}
for _, name in ipairs(all) do
  for _, other in ipairs(others) do
    local f = call(name, other[2])
    raises(function() return f(1, 2, 3, 4) end,
           "bad argument #1 to '" .. name .. "'", name .. " with " .. other[1])
  end
end

-- Position 2 that is not a number, even before the record test.
for _, name in ipairs(numeric) do
  local f = call(name, p)
  raises(function() return f("12") end,
         "bad argument #2 to '" .. name .. "' (number expected, got string)", name)
  raises(function() return f() end, "bad argument #2 to '" .. name .. "' (number expected, got no value)", name)
end
for position = 2, 5 do
  local args = {1, 2, 3, 4}
  args[position - 1] = "x"
  raises(function() return p:RenderVideo(unpack(args)) end,
         "bad argument #" .. position .. " to 'RenderVideo' (number expected, got string)", "RenderVideo " .. position)
end
assert(#Surface.Draws() == 0, "a refused RenderVideo drew")
assert(#t.new_messages() == 0)

-- A player whose record is gone fails the validity test in every method,
-- with no result; the numeric ones still test their types first.
local dead = Velmora.New()
getmetatable(dead).__gc(dead)
t.new_messages()
for _, name in ipairs(all) do
  local results = {dead[name](dead, name == "RenderFile" and "x.avi" or 1, 2, 3, 4)}
  assert(#results == 0, name .. " answered on an invalid record")
  local messages = t.new_messages()
  assert(messages[1] == "Velmora: Invalid Velmora structure.\n" and #messages == 1, name .. ": " .. tostring(messages[1]))
end
raises(function() return dead:SetVolume("loud") end, "bad argument #2 to 'SetVolume'", "SetVolume on a dead player")
assert(#t.new_messages() == 0, "the type test did not come first")

-- Arguments beyond those a method takes are not read.
assert(p:IsVideo("extra", {}) == true)
