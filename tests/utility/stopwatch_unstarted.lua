-- Run in a fresh host: PerformanceEnd before any PerformanceStart gives 0.
assert(select('#', Tarnic.PerformanceEnd()) == 1, "not one result")
local e = Tarnic.PerformanceEnd()
assert(e == 0, "never started: " .. tostring(e))
Tarnic.PerformanceStart()
assert(Tarnic.PerformanceEnd() >= 0)
