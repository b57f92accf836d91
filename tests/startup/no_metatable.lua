-- A host that gives no metatable leaves the global table only, and nothing is said.
assert(type(Velmora) == "table")
assert(debug.getregistry().Velmora == nil)
assert(#Host.Printed() == 0 and #Host.Reported() == 0)
