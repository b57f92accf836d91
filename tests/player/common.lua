-- Shared by the player scripts: the media folder, waiting, and checks.
local M = {}

M.media = assert(arg and arg[1], "arg[1] (media folder) missing")

function M.path(name) return M.media .. "\\" .. name end

-- Polls condition every 50 ms until it holds or seconds pass.
function M.wait_for(seconds, condition)
  local deadline = Host.Clock() + seconds
  repeat
    if condition() then return true end
    Host.Sleep(50)
  until Host.Clock() > deadline
  return condition()
end

-- A function giving the entries of list() added since its last call.
local function since(list)
  local seen = 0
  return function()
    local all = list()
    local fresh = {}
    for i = seen + 1, #all do fresh[#fresh + 1] = all[i] end
    seen = #all
    return fresh
  end
end

-- Messages printed, and errors reported, since the last call.
M.new_messages = since(Host.Printed)
M.new_reports = since(Host.Reported)

function M.near(value, expected, slack, what)
  assert(type(value) == "number", what .. " is " .. type(value))
  assert(math.abs(value - expected) <= slack,
         string.format("%s: %.3f, expected %.3f within %.3f", what, value, expected, slack))
end

-- The colour at (x, y) of a texture, within a slack per channel.
function M.pixel_is(texture, x, y, rgb, slack, what)
  local r, g, b, a = Surface.Pixel(texture, x, y)
  assert(r, what .. ": no pixel at " .. x .. "," .. y)
  local ok = math.abs(r - rgb[1]) <= slack and math.abs(g - rgb[2]) <= slack and
             math.abs(b - rgb[3]) <= slack and a == 255
  assert(ok, string.format("%s at %d,%d: %d %d %d %d, expected %d %d %d 255",
                           what, x, y, r, g, b, a, rgb[1], rgb[2], rgb[3]))
end

-- The texture of the last draw, after drawing the player once.
function M.draw(player)
  player:RenderVideo(0, 0, 1024, 1024)
  local draws = Surface.Draws()
  assert(#draws > 0, "RenderVideo drew nothing")
  return draws[#draws].texture
end

M.RED, M.LIME, M.BLUE, M.WHITE = {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}

return M
