-- Playback control on the real graph: states, times, rate, seeking, audio.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")

local p = Velmora.New()
assert(p:HasFilters() == false)
p:RenderFile(t.path("clip.avi"))
assert(p:HasFilters() == true)

t.near(p:GetDuration(), 4, 0.1, "duration")
t.near(p:GetStopPosition(), 4, 0.1, "stop position")
t.near(p:GetCurrentPosition(), 0, 0.01, "position before playing")
assert(p:IsGraphStopped() == true and p:IsGraphRunning() == false and p:IsGraphPaused() == false)

-- Running: the position follows the clock.
p:RunGraph()
assert(t.wait_for(10, function() return p:IsGraphRunning() == true end), "the graph never ran")
assert(p:IsGraphStopped() == false and p:IsGraphPaused() == false)
assert(t.wait_for(10, function() return p:GetCurrentPosition() > 0.2 end), "position does not move")
local start, clock = p:GetCurrentPosition(), Host.Clock()
Host.Sleep(1000)
t.near(p:GetCurrentPosition() - start, Host.Clock() - clock, 0.35, "position advance over 1 s")

-- Paused: the position holds.
p:PauseGraph()
assert(t.wait_for(10, function() return p:IsGraphPaused() == true end), "the graph never paused")
assert(p:IsGraphRunning() == false and p:IsGraphStopped() == false)
local held = p:GetCurrentPosition()
Host.Sleep(500)
t.near(p:GetCurrentPosition(), held, 0.05, "position while paused")

-- Volume and balance round-trip on a file with sound.
for _, case in ipairs({{-2500, 0}, {0, 3000}, {-10000, -10000}}) do
  p:SetVolume(case[1])
  p:SetBalance(case[2])
  assert(p:GetVolume() == case[1], "volume " .. p:GetVolume() .. ", set " .. case[1])
  assert(p:GetBalance() == case[2], "balance " .. p:GetBalance() .. ", set " .. case[2])
end
-- Out of range: refused by the graph, silently; the old value stays.
p:SetVolume(500)
assert(p:GetVolume() == -10000)

p:StopGraph()
assert(t.wait_for(10, function() return p:IsGraphStopped() == true end))
assert(#t.new_messages() == 0, "playback printed: " .. tostring(Host.Printed()[1]))

-- A video-only file has no audio renderer: the getters still answer.
p:RenderFile(t.path("silent.avi"))
assert(type(p:GetVolume()) == "number" and type(p:GetBalance()) == "number")
p:SetVolume(-100)

-- Seeking and rate, on the video-only file: Wine 8's graph deadlocks in
-- Stop after a seek on a file with both sound and compressed video.
p:PauseGraph()
assert(t.wait_for(10, function() return p:IsGraphPaused() == true end), "the graph never paused")
-- Seeking drops fractions of a second.
p:SetCurrentPosition(2.9)
t.near(p:GetCurrentPosition(), 2, 0.05, "position after seeking to 2.9")
p:SetCurrentPosition(-0.5)
t.near(p:GetCurrentPosition(), 0, 0.05, "position after seeking to -0.5")

-- Rate: the position moves at the rate the graph reports. (Wine's graph
-- takes SetRate and keeps playing at 1, and says so through GetRate.)
p:SetRate(2)
local rate = p:GetRate()
assert(rate == 2 or rate == 1, "rate " .. tostring(rate))
p:RunGraph()
assert(t.wait_for(10, function() return p:GetCurrentPosition() > 0.2 end), "position does not move after SetRate")
start, clock = p:GetCurrentPosition(), Host.Clock()
Host.Sleep(800)
t.near((p:GetCurrentPosition() - start) / (Host.Clock() - clock), rate, 0.35, "advance per second at rate " .. rate)
p:SetRate(1)

p:StopGraph()
assert(t.wait_for(10, function() return p:IsGraphStopped() == true end))
assert(#t.new_messages() == 0, "seeking printed: " .. tostring(Host.Printed()[1]))
