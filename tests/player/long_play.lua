-- A 20-second clip played to its end: the position reaches the duration, the
-- queries still answer and the player loads the next file.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")

local p = Velmora.New()
p:RenderFile(t.path("long.avi"))
t.near(p:GetDuration(), 20, 0.25, "duration")
p:RunGraph()
assert(t.wait_for(45, function() return p:GetCurrentPosition() >= p:GetDuration() - 0.05 end),
       "never reached the end: " .. p:GetCurrentPosition())
Host.Sleep(500)
t.near(p:GetCurrentPosition(), p:GetDuration(), 0.05, "position after the end")
assert(p:IsGraphRunning() ~= nil and p:IsVideo() == true and p:GetVolume() ~= nil)
p:RenderFile(t.path("clip.avi"))
assert(p:IsGraphStopped() == true and p:IsVideo() == true)
t.near(p:GetCurrentPosition(), 0, 0.01, "position of the next file")
assert(#t.new_messages() == 0, tostring(Host.Printed()[1]))
