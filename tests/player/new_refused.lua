-- New when DirectShow refuses one of its objects or interfaces: the step's
-- message, no player, and nothing of the graph kept.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")
local expected = assert(arg[2], "arg[2] (expected message) missing") .. "\n"

local results = {Velmora.New()}
assert(#results == 0, "New gave a player")
local messages = t.new_messages()
assert(messages[1] == expected and #messages == 1, "printed: " .. tostring(messages[1]))
assert(#Host.Graphs() == 0, "the graph of a failed New is still referenced")
assert(Surface.Textures() == 0, "a failed New made a texture")
