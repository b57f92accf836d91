-- FindMedia: folders and media files of a folder, as two arrays.
local scratch = assert(arg and arg[1], "arg[1] (scratch folder) missing")
local prepared = assert(arg[2], "arg[2] (prepared folder) missing")

local function set_of(list, what)
  assert(type(list) == "table", what .. " is " .. type(list))
  local n = 0
  for _ in pairs(list) do n = n + 1 end
  assert(n == #list, what .. ": keys not 1..n")
  local set = {}
  for i = 1, #list do
    assert(type(list[i]) == "string", what .. " entry " .. i)
    assert(not set[list[i]], what .. ": " .. list[i] .. " twice")
    set[list[i]] = true
  end
  return set, n
end

local function same_set(list, expected, what)
  local set, n = set_of(list, what)
  local want = 0
  for _, name in ipairs(expected) do
    want = want + 1
    assert(set[name], what .. ": missing " .. name)
  end
  assert(n == want, what .. ": " .. n .. " entries, expected " .. want ..
         " (" .. table.concat(list, ", ") .. ")")
end

local function write(path, text)
  local f = assert(io.open(path, "wb"))
  f:write(text)
  f:close()
end

-- The prepared folder: case matters, only the last dot counts, folders are
-- never tested for an extension, dot-names are left out.
assert(select('#', Tarnic.FindMedia(prepared)) == 2, "prepared folder: not 2 results")
local folders, media = Tarnic.FindMedia(prepared)
same_set(folders, { "Music.avi", "sub" }, "folders")
same_set(media, { "song.mp3", "clip.tar.ogg" }, "media")

-- sub is empty: only "." and "..", so two empty tables.
assert(select('#', Tarnic.FindMedia(prepared .. "\\sub")) == 2, "empty folder: not 2 results")
local efolders, emedia = Tarnic.FindMedia(prepared .. "\\sub")
same_set(efolders, {}, "empty folder's folders")
same_set(emedia, {}, "empty folder's media")

-- Files written into the scratch folder; the folder may hold other files, so
-- check only what is written here.
local names = {
  ["tn_song.mp3"] = true, ["TN_SONG.MP3"] = false, ["tn_clip.tar.ogg"] = true,
  ["tn_notes"] = false, ["tn_song.mp3.bak"] = false, ["tn_readme.txt"] = false,
  ["tn_movie.flv"] = true, ["tn_tune.midi"] = true, ["tn_x.a"] = false,
}
for name in pairs(names) do write(scratch .. "\\" .. name, "x") end
write(scratch .. "\\.ogg", "x")

local sfolders, smedia = Tarnic.FindMedia(scratch)
local fset = set_of(sfolders, "scratch folders")
local mset = set_of(smedia, "scratch media")
for name, isMedia in pairs(names) do
  assert((mset[name] or false) == isMedia, "scratch: " .. name ..
         (isMedia and " missing from" or " wrongly in") .. " media")
  assert(not fset[name], "scratch: file " .. name .. " listed as a folder")
end
assert(not mset[".ogg"] and not fset[".ogg"], "dot-name listed")
for name in pairs(mset) do
  assert(string.sub(name, 1, 1) ~= ".", "dot-name " .. name .. " in media")
end
for name in pairs(fset) do
  assert(string.sub(name, 1, 1) ~= ".", "dot-name " .. name .. " in folders")
end
for name in pairs(names) do os.remove(scratch .. "\\" .. name) end
os.remove(scratch .. "\\.ogg")

-- No search, no result at all.
assert(select('#', Tarnic.FindMedia(scratch .. "\\tn_no_such_folder")) == 0,
       "missing folder gave results")
write(scratch .. "\\tn_plain_file.mp3", "x")
assert(select('#', Tarnic.FindMedia(scratch .. "\\tn_plain_file.mp3")) == 0,
       "a file searched as a folder gave results")
os.remove(scratch .. "\\tn_plain_file.mp3")
assert(select('#', Tarnic.FindMedia(scratch .. "\\" .. string.rep("a", 300))) == 0,
       "over-long path gave results")
assert(select('#', Tarnic.FindMedia()) == 0, "no argument gave results")
