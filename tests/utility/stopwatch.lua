-- PerformanceStart / PerformanceEnd: one stopwatch, in seconds.
local function spin(seconds)
  local t0 = os.clock()
  local x = 0
  while os.clock() - t0 < seconds do x = x + 1 end
  return x
end

assert(select('#', Tarnic.PerformanceStart()) == 0, "PerformanceStart returned values")
assert(select('#', Tarnic.PerformanceEnd()) == 1, "PerformanceEnd not one result")

Tarnic.PerformanceStart()
local e1 = Tarnic.PerformanceEnd()
assert(type(e1) == "number", type(e1))
assert(e1 >= 0 and e1 < 1, "right after start: " .. e1)

local e2 = Tarnic.PerformanceEnd()
assert(e2 >= e1, "second reading smaller: " .. e2 .. " < " .. e1)

spin(0.3)
local e3 = Tarnic.PerformanceEnd()
assert(e3 >= e2, "reading went back")
-- Seconds, not milliseconds or counts.
assert(e3 >= 0.1 and e3 < 60, "after ~0.3 s: " .. e3)

-- Ignores arguments.
local e4 = Tarnic.PerformanceEnd(1, "x")
assert(e4 >= e3)

-- A restart measures from the new start.
Tarnic.PerformanceStart("ignored")
local e5 = Tarnic.PerformanceEnd()
assert(e5 >= 0 and e5 < e3, "after restart: " .. e5 .. " (before " .. e3 .. ")")
