-- The LÖVE program of the comparison set: an 800 x 600 window with vertical
-- sync requested, no audio.
function love.conf(t)
  t.window.title = "love"
  t.window.width = 800
  t.window.height = 600
  t.window.vsync = 1
  t.modules.audio = false
  t.modules.sound = false
  t.modules.joystick = false
  t.modules.physics = false
end
