-- Without a usable surface the report names the failing step, and the class stays.
local expected = arg[1]
local reported = Host.Reported()
assert(#reported == 1 and reported[1] == expected,
       ("reported %q, expected %q"):format(tostring(reported[1]), expected))
assert(type(Velmora) == "table", "Velmora is gone")
assert(type(debug.getregistry().Velmora) == "table", "the metatable is gone")
assert(#Host.Printed() == 0)
assert(Host.OpenResult == 0)
