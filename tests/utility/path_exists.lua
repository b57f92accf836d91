-- PathExists: true for existing files and folders, false otherwise.
local scratch = assert(arg and arg[1], "arg[1] (scratch folder) missing")

local function exists(path)
  assert(select('#', Tarnic.PathExists(path)) == 1, "not one result")
  local r = Tarnic.PathExists(path)
  assert(type(r) == "boolean", tostring(path) .. ": " .. type(r))
  return r
end

assert(exists(scratch) == true, "scratch folder")
assert(exists(scratch .. "\\") == true, "scratch folder with backslash")

local file = scratch .. "\\tn_exists.txt"
local f = assert(io.open(file, "wb"))
f:write("x")
f:close()
assert(exists(file) == true, "written file")
os.remove(file)
assert(exists(file) == false, "removed file")

assert(exists(scratch .. "\\tn_no_such\\thing") == false, "missing path")
assert(Tarnic.PathExists() == false, "no argument")

if arg[2] then
  assert(exists(arg[2] .. "\\sub") == true, "prepared sub folder")
  assert(exists(arg[2] .. "\\song.mp3") == true, "prepared file")
end
