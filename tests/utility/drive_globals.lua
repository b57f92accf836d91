-- The drive-type numbers are globals, not fields of Tarnic.
local globals = {
  DRIVE_UNKNOWN = 0, DRIVE_NO_ROOT_DIR = 1, DRIVE_REMOVABLE = 2,
  DRIVE_FIXED = 3, DRIVE_REMOTE = 4, DRIVE_CDROM = 5, DRIVE_RAMDISK = 6,
}

assert(type(DRIVE_UNKNOWN) == "number", "DRIVE_UNKNOWN is " .. type(DRIVE_UNKNOWN))
assert(DRIVE_UNKNOWN == 0, "DRIVE_UNKNOWN is " .. tostring(DRIVE_UNKNOWN))
assert(DRIVE_FIXED == 3)

for name, value in pairs(globals) do
  local got = _G[name]
  assert(type(got) == "number", name .. " is " .. type(got))
  assert(got == value, name .. " is " .. tostring(got) .. ", expected " .. value)
  assert(Tarnic[name] == nil, "Tarnic." .. name .. " is set")
end
assert(Tarnic.DRIVE_FIXED == nil)
