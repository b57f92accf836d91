-- Scripts get arg as in the stand-alone interpreter.
assert(arg[1] == "one" and arg[2] == "two words" and arg[3] == nil, "arg is wrong")
assert(type(arg[0]) == "string" and arg[0]:match("arguments%.lua$"), "arg[0] is " .. tostring(arg[0]))
local start = Host.Clock()
Host.Sleep(50)
local elapsed = Host.Clock() - start
assert(elapsed >= 0.04 and elapsed < 5, "Host.Sleep(50) took " .. elapsed .. " s")
