-- Frames really arrive, and RenderVideo draws them: the decoded picture of
-- known test patterns, compared at known positions.
local t = dofile((arg[0]:gsub("[^\\]+$", "")) .. "common.lua")
local R, L, B, W = t.RED, t.LIME, t.BLUE, t.WHITE

local p = Velmora.New()

-- Shows the first frame: pausing delivers it.
local function show(name)
  p:RenderFile(t.path(name))
  local before = Surface.Draws()
  p:PauseGraph()
  assert(t.wait_for(15, function() return p:IsGraphPaused() end), name .. ": never paused")
  Host.Sleep(300)
  return t.draw(p)
end

-- Quadrants at the frame's own size, exact for raw video (rows padded or
-- not), within the codec's slack for compressed video. Probe points sit
-- inside each quadrant, away from its edges.
local cases = {
  {"quadrants-322x240.avi", 322, 240, 0}, {"quadrants-640x480.avi", 640, 480, 0},
  {"quadrants-854x480.avi", 854, 480, 0}, {"clip.avi", 320, 240, 24}, {"clip.mp4", 320, 240, 24},
  {"clip.webm", 320, 240, 40},
}
for _, case in ipairs(cases) do
  local name, w, h, slack = case[1], case[2], case[3], case[4]
  local texture = show(name)
  local fw, fh, tw, th = p:GetVideoSize()
  assert(fw == w and fh == h and tw == 1024 and th == 1024, name .. ": sizes " .. fw .. " " .. fh)
  for _, probe in ipairs({{0.25, 0.25, R}, {0.75, 0.25, L}, {0.25, 0.75, B}, {0.75, 0.75, W},
                          {0.02, 0.02, R}, {0.98, 0.98, W}}) do
    t.pixel_is(texture, math.floor(w * probe[1]), math.floor(h * probe[2]), probe[3], slack, name)
  end
  p:StopGraph()
end

-- The 854-wide frame left its pixels right of and below a smaller one.
local texture = show("quadrants-322x240.avi")
t.pixel_is(texture, 800, 100, L, 0, "the larger frame's pixels beside the smaller one")
t.pixel_is(texture, 100, 400, B, 0, "the larger frame's pixels below the smaller one")
p:StopGraph()

-- A 1920x1080 frame is scaled to fit the texture, aspect kept: 1024x576.
texture = show("quadrants-1920x1080.avi")
local fw, fh = p:GetVideoSize()
assert(fw == 1920 and fh == 1080, "1080p sizes " .. fw .. " " .. fh)
for _, probe in ipairs({{256, 144, R}, {768, 144, L}, {256, 432, B}, {768, 432, W}, {1020, 570, W}}) do
  t.pixel_is(texture, probe[1], probe[2], probe[3], 0, "1080p scaled")
end
-- The last row of the scaled picture, and below it pixels never written:
-- the buffer starts out transparent black.
t.pixel_is(texture, 100, 575, B, 0, "last scaled row")
assert(table.concat({Surface.Pixel(texture, 100, 576)}, " ") == "0 0 0 0", "below the scaled picture")
p:StopGraph()

-- RenderVideo: the whole buffer uploaded, then the texture drawn over the
-- rectangle in white.
local draws, uploads = #Surface.Draws(), Surface.Uploads(texture)
p:RenderVideo(10, 20, 300, 200)
local all = Surface.Draws()
assert(#all == draws + 1, "one draw expected")
local draw = all[#all]
assert(draw.texture == texture)
assert(table.concat(draw.rect, " ") == "10 20 310 220", "rect " .. table.concat(draw.rect, " "))
assert(table.concat(draw.color, " ") == "255 255 255 255", "colour " .. table.concat(draw.color, " "))
assert(Surface.Uploads(texture) == uploads + 1, "no upload")

-- Huge rectangles hold at the ends of 32 bits instead of wrapping.
p:RenderVideo(2147483000, -2147483000, 1000, -1000)
draw = Surface.Draws()[#Surface.Draws()]
assert(table.concat(draw.rect, " ") == "2147483000 -2147483000 2147483647 -2147483648", table.concat(draw.rect, " "))

-- No video in the file: the buffer is still uploaded and drawn.
p:RenderFile(t.path("tone.wav"))
assert(p:IsVideo() == false)
p:RenderVideo(0, 0, 64, 64)
assert(#Surface.Draws() == draws + 3, "RenderVideo consults IsVideo")

-- A texture the surface calls not drawable: uploaded, not drawn.
Surface.Invalidate(texture)
uploads = Surface.Uploads(texture)
p:RenderVideo(0, 0, 64, 64)
assert(Surface.Uploads(texture) == uploads + 1 and #Surface.Draws() == draws + 3, "drew an invalid texture")

-- A fresh player has no texture size yet: its empty upload leaves nothing
-- to draw.
local q = Velmora.New()
q:RenderVideo(0, 0, 10, 10)
assert(#Surface.Draws() == draws + 3, "a fresh player drew")
assert(#t.new_messages() == 0, tostring(Host.Printed()[1]))
