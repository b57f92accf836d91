-- Without the engine's drawing surface: players are made and play sound;
-- RenderVideo draws nothing and never fails.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")

assert(Host.Reported()[1] == "Unable to load vguimatsurface.dll")
local p = Velmora.New()
assert(p, "no player without a surface")
p:RenderFile(t.path("clip.avi"))
assert(p:IsVideo() == true)
p:RunGraph()
assert(t.wait_for(15, function() return p:GetCurrentPosition() > 0.3 end), "no playback without a surface")
p:RenderVideo(0, 0, 320, 240)
p:StopGraph()
assert(#t.new_messages() == 0, tostring(Host.Printed()[1]))
