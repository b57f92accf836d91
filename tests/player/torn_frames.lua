-- Frames of solid, changing colours, drawn as fast as the script can while
-- the graph plays: every upload holds one frame's colour over the whole
-- picture. Stopping, seeking and loading another file in the middle is safe.
-- Prints the longest time one RenderVideo took (its wait for the frame lock
-- plus the upload).
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")

local p = Velmora.New()
local colours = {["255 0 0"] = true, ["0 255 0"] = true, ["0 0 255"] = true}
-- Rows from top to bottom and columns across: a conversion caught halfway
-- leaves two colours among them.
local probes = {}
for _, y in ipairs({0, 40, 80, 120, 160, 200, 239}) do
  for _, x in ipairs({0, 106, 213, 319}) do probes[#probes + 1] = {x, y} end
end

local longest, rounds, seen = 0, 0, {}
local function hammer(seconds)
  local deadline = Host.Clock() + seconds
  while Host.Clock() < deadline do
    local started = Host.Clock()
    p:RenderVideo(0, 0, 320, 240)
    longest = math.max(longest, Host.Clock() - started)
    rounds = rounds + 1
    local draws = Surface.Draws()
    local texture = draws[#draws] and draws[#draws].texture
    if texture then
      local first
      for _, probe in ipairs(probes) do
        local r, g, b = Surface.Pixel(texture, probe[1], probe[2])
        local colour = r .. " " .. g .. " " .. b
        first = first or colour
        assert(colour == first, "torn frame: " .. first .. " and " .. colour .. " at " .. probe[1] .. "," .. probe[2])
      end
      if colours[first] then seen[first] = true end
    end
  end
end

p:RenderFile(t.path("flashing.avi"))
p:RunGraph()
hammer(3)
p:StopGraph()
p:SetCurrentPosition(1)
p:RunGraph()
hammer(2)
p:RenderFile(t.path("flashing.avi"))
p:RunGraph()
hammer(2)
p:PauseGraph()
hammer(0.5)
p:StopGraph()

local count = 0
for _ in pairs(seen) do count = count + 1 end
-- Emulated decoding may drop a frame now and then; two colours show frames moving.
assert(count >= 2, "only " .. count .. " colour was drawn in " .. rounds .. " rounds")
assert(#t.new_messages() == 0, tostring(Host.Printed()[1]))
print(string.format("torn frames: %d draws, longest RenderVideo %.1f ms", rounds, longest * 1000))
