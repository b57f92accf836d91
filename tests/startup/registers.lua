-- A successful start registers the class and acquires the surface quietly.
assert(Host.OpenResult == 0, "gmod_open gave " .. tostring(Host.OpenResult))
assert(type(Velmora) == "table", "Velmora is " .. type(Velmora))
assert(Velmora.RenderFile == nil, "methods belong to the method table, not to Velmora")
local metatable = debug.getregistry().Velmora
assert(type(metatable) == "table", "no metatable registered under Velmora")
assert(type(metatable.__index) == "table", "the metatable has no method table")
assert(metatable.__index.renderfile == nil and metatable.__index.rendervideo == nil)
assert(#Host.Printed() == 0, "start-up printed: " .. tostring(Host.Printed()[1]))
assert(#Host.Reported() == 0, "start-up reported: " .. tostring(Host.Reported()[1]))
