-- GetMediaSize: a file's size in bytes; nothing when it cannot be opened.
local scratch = assert(arg and arg[1], "arg[1] (scratch folder) missing")

local function write(path, text)
  local f = assert(io.open(path, "wb"))
  f:write(text)
  f:close()
end

local function size_of(path)
  local n = select('#', Tarnic.GetMediaSize(path))
  assert(n == 1, path .. ": " .. n .. " results")
  local size = Tarnic.GetMediaSize(path)
  assert(type(size) == "number", path .. ": " .. type(size))
  return size
end

local cases = { 0, 1, 5, 4096, 65537, 1000000 }
for _, n in ipairs(cases) do
  local path = scratch .. "\\tn_size_" .. n .. ".bin"
  write(path, string.rep("z", n))
  local got = size_of(path)
  assert(got == n, path .. ": size " .. got .. ", expected " .. n)
  os.remove(path)
end

-- Above 2^24 the size is the nearest 32-bit float.
local big = scratch .. "\\tn_size_big.bin"
write(big, string.rep("\0", 16777217))
local got = size_of(big)
assert(got == 16777216, "16777217 bytes gave " .. string.format("%.0f", got))
os.remove(big)

-- A media name is not needed; any file counts.
local plain = scratch .. "\\tn_size_notes"
write(plain, "hello")
assert(size_of(plain) == 5)

-- Held open for writing elsewhere: read sharing is refused.
local held = assert(io.open(plain, "ab"))
assert(select('#', Tarnic.GetMediaSize(plain)) == 0, "file open for writing gave a size")
held:close()
assert(size_of(plain) == 5)
os.remove(plain)

assert(select('#', Tarnic.GetMediaSize(scratch .. "\\tn_no_such_file.mp3")) == 0,
       "missing file gave a size")
assert(select('#', Tarnic.GetMediaSize(scratch)) == 0, "folder gave a size")
assert(select('#', Tarnic.GetMediaSize()) == 0, "no argument gave a size")
