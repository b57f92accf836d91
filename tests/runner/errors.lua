-- A script whose error must reach the runner's exit status.
local function fails() return nothing_here() end
fails()
