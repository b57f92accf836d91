-- MediaTypes: 19 lower-case extensions, keys 1..19, in a fixed order.
local expected = {
  "wav", "mp3", "wma", "ogg", "aac", "flac", "aiff", "ra", "ram", "mid",
  "midi", "au", "mp4", "m4a", "mkv", "avi", "mpg", "ogm", "flv",
}

assert(type(Tarnic) == "table", "Tarnic missing")
local types = Tarnic.MediaTypes
assert(type(types) == "table", "MediaTypes missing")

assert(types[1] == "wav", "entry 1: " .. tostring(types[1]))
assert(types[19] == "flv", "entry 19: " .. tostring(types[19]))
assert(types[0] == nil, "key 0 present")
assert(types[20] == nil, "key 20 present")
assert(#types == 19, "length " .. #types)

local count = 0
for k, v in pairs(types) do
  count = count + 1
  assert(type(k) == "number" and k >= 1 and k <= 19 and math.floor(k) == k,
         "unexpected key " .. tostring(k))
  assert(type(v) == "string", "entry " .. k .. " not a string")
end
assert(count == 19, "pairs count " .. count)

for i = 1, 19 do
  assert(types[i] == expected[i],
         "entry " .. i .. ": " .. tostring(types[i]) .. " ~= " .. expected[i])
  assert(types[i] == string.lower(types[i]), "entry " .. i .. " not lower case")
end

local four, two = {}, {}
for i = 1, 19 do
  local n = string.len(types[i])
  assert(n >= 2 and n <= 4, "entry " .. i .. " length " .. n)
  if n == 4 then four[#four + 1] = types[i] end
  if n == 2 then two[#two + 1] = types[i] end
end
assert(table.concat(four, ",") == "flac,aiff,midi", "4-char: " .. table.concat(four, ","))
assert(table.concat(two, ",") == "ra,au", "2-char: " .. table.concat(two, ","))

-- The seven functions and MediaTypes, nothing else.
local names = {
  "GetGameExe", "FindMedia", "FindDrives", "GetMediaSize",
  "PerformanceStart", "PerformanceEnd", "PathExists",
}
for _, name in ipairs(names) do
  assert(type(Tarnic[name]) == "function", name .. " is " .. type(Tarnic[name]))
end
local fields = 0
for _ in pairs(Tarnic) do fields = fields + 1 end
assert(fields == 8, "Tarnic has " .. fields .. " fields")
