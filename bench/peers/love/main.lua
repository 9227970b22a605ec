-- The scene of bench/peers/Scene.h drawn with LÖVE 11's automatic batching:
-- one love.graphics.draw per sprite from one image, tinted with setColor.
-- The sequence and the texture repeat Scene.h exactly; keep them in step.
-- Usage: love bench/peers/love SPRITES
local WARMUP, TIMED = 5, 60
local VIEW_W, VIEW_H, TEXTURE, FRAME, MARGIN = 800, 600, 512, 32, 4
local CELL = FRAME + 2 * MARGIN
local SHEET_FRAMES, FRAMES = 8, 4

local count, image, quads, sprites
local frame, start, cpuStart = 0, 0, 0

-- The minimal standard generator of Scene.h; its products are exact in doubles.
local state = 1
local function nextValue()
  state = (state * 48271) % 2147483647
  return state
end

local function texel(f, x, y)
  local i = y * FRAME + x
  local alpha = (i % 7 == 0) and 0 or 1
  return ((x * 8) % 256) / 255, ((y * 8) % 256) / 255, ((64 * f + 32) % 256) / 255, alpha
end

function love.load(args)
  count = tonumber(args[1] or "")
  if not count or count <= 0 then
    io.stderr:write("usage: love bench/peers/love SPRITES\n")
    love.event.quit(2)
    return
  end
  love.graphics.setDefaultFilter("nearest", "nearest")
  local data = love.image.newImageData(TEXTURE, TEXTURE)
  for f = 0, SHEET_FRAMES - 1 do
    for y = 0, FRAME - 1 do
      for x = 0, FRAME - 1 do
        data:setPixel(f * CELL + MARGIN + x, MARGIN + y, texel(f, x, y))
      end
    end
  end
  image = love.graphics.newImage(data)
  quads = {}
  for f = 0, FRAMES - 1 do
    quads[f] = love.graphics.newQuad(f * CELL, 0, CELL, CELL, TEXTURE, TEXTURE)
  end
  sprites = {}
  for i = 1, count do
    local x = nextValue() % VIEW_W
    local y = nextValue() % VIEW_H
    local f = nextValue() % FRAMES
    sprites[i] = {x - CELL / 2, y - CELL / 2, f}
  end
  love.graphics.setBackgroundColor(0, 110 / 255, 0)
end

function love.draw()
  if not sprites then return end
  frame = frame + 1
  if frame == WARMUP + 1 then
    start, cpuStart = love.timer.getTime(), os.clock()
  end
  if frame == WARMUP + TIMED + 1 then
    -- os.clock() is the CPU time of the whole process, every thread.
    local ms = (love.timer.getTime() - start) * 1000 / TIMED
    local cpu = (os.clock() - cpuStart) * 1000 / TIMED
    io.write(string.format("result love window %d %.2f %.2f\n", count, ms, cpu))
    io.flush()
    love.event.quit()
    return
  end
  love.graphics.setColor(255 / 255, 224 / 255, 192 / 255, 230 / 255)
  for i = 1, count do
    local s = sprites[i]
    love.graphics.draw(image, quads[s[3]], s[1], s[2])
  end
end
