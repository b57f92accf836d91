-- Shows what gmcl_velmora registered in the host's Lua state.
print("gmod_open returned " .. Host.OpenResult)
for _, text in ipairs(Host.Printed()) do io.write("printed: ", text) end
for _, text in ipairs(Host.Reported()) do print("reported: " .. text) end
print("Velmora: " .. type(Velmora))
if Velmora then
  for name, value in pairs(Velmora) do print("  Velmora." .. name .. " (" .. type(value) .. ")") end
end
local metatable = debug.getregistry().Velmora
print("player metatable: " .. (metatable and "registered" or "missing"))
if metatable then
  for name, value in pairs(metatable) do print("  " .. name .. " (" .. type(value) .. ")") end
  local count = 0
  for name in pairs(metatable.__index or {}) do count = count + 1; print("  method " .. name) end
  print("  " .. count .. " methods so far")
end
print("surface textures created: " .. Surface.Textures())
