-- With COM already entered multi-threaded, the module says so and registers nothing.
local printed = Host.Printed()
assert(#printed == 1 and printed[1] == "Velmora: Cannot initialize COM.  This module will not function.\n",
       "printed: " .. tostring(printed[1]))
assert(Velmora == nil, "Velmora was registered")
assert(debug.getregistry().Velmora == nil, "the metatable was registered")
assert(Host.OpenResult == 0)
