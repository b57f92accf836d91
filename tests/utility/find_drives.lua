-- FindDrives: an array of drive tables in letter order, with typed fields.
local results = { Tarnic.FindDrives() }
assert(#results == 1, "FindDrives gave " .. select('#', Tarnic.FindDrives()) .. " results")
local drives = results[1]
assert(type(drives) == "table")

local n = 0
for _ in pairs(drives) do n = n + 1 end
assert(n == #drives, "keys not consecutive")
assert(drives[0] == nil)

local previous = ""
for i, drive in ipairs(drives) do
  assert(type(drive) == "table", "drive " .. i)
  local letter = drive.letter
  assert(type(letter) == "string" and string.len(letter) == 1 and
         string.find(letter, "^[A-Z]$"), "drive " .. i .. " letter " .. tostring(letter))
  assert(letter > previous, "letters out of order at " .. letter)
  previous = letter
  assert(type(drive.type) == "number" and drive.type >= DRIVE_UNKNOWN and
         drive.type <= DRIVE_RAMDISK and math.floor(drive.type) == drive.type,
         letter .. " type " .. tostring(drive.type))
  assert(type(drive.filesystem) == "string", letter .. " filesystem")
  assert(type(drive.name) == "string", letter .. " name")
end

-- The drive holding the scratch folder is listed.
local scratch = assert(arg and arg[1], "arg[1] (scratch folder) missing")
local own = string.upper(string.sub(scratch, 1, 1))
if string.sub(scratch, 2, 2) == ":" then
  local found = false
  for _, drive in ipairs(drives) do
    if drive.letter == own then
      found = true
      assert(drive.type ~= DRIVE_NO_ROOT_DIR, own .. " has no root")
    end
  end
  assert(found, "drive " .. own .. " not listed")
end
