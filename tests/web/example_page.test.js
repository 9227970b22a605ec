// The example game's page (Star Catcher) in headless Chromium: it starts at
// a key, its basket follows the arrow keys, F11 gives it the whole page (and
// the screen, which the browser grants at a key press) and back, and Escape
// ends it with its final score.
// VF_EXAMPLE_PAGE is the folder holding star-catcher.html and its files.
'use strict';
const assert = require('node:assert');
const {describe, it, before, after} = require('node:test');
const {openGamePage, sleep} = require('./browser.js');

const kWidth = 1024;
const kHeight = 768;

describe('example game page', () => {
  let page;
  before(async () => {
    page = await openGamePage(process.env.VF_EXAMPLE_PAGE, 'star-catcher.html', kWidth, kHeight);
  });
  after(async () => { if (page) await page.close(); });

  it('starts at a key', async () => {
    await page.key('Enter');
    assert.ok(await page.waitForConsole(/^ +[0-9]+> Opened Window$/, 30));
    assert.ok(await page.waitForConsole(/Load Image : font/, 30), page.consoleLines.join('\n'));
  });

  it('moves the basket while an arrow key is held', async () => {
    await sleep(500);
    const box = await page.eval("(function() { var r = Module.canvas.getBoundingClientRect();" +
                                " return [r.left, r.top]; })()");
    // The basket sits 40 units above the bottom edge, starting in the middle:
    // find where the patch that shows it at first is in the later picture.
    const top = box[1] + 600 - 40 - 12;
    const patch = (shot, x) => {
      const out = [];
      for (let y = top; y < top + 24; y++) {
        for (let i = 0; i < 24 * 4; i++) out.push(shot.rgba[(y * shot.width + box[0] + x - 12) * 4 + i]);
      }
      return out;
    };
    const before = await page.screenshot();
    const basket = patch(before, 400);
    const whereIsBasket = (shot) => {
      let best = -1;
      let bestDiff = Infinity;
      for (let x = 12; x <= 800 - 12; x++) {
        const here = patch(shot, x);
        const diff = here.reduce((sum, v, i) => sum + Math.abs(v - basket[i]), 0) / here.length;
        if (diff < bestDiff) [best, bestDiff] = [x, diff];
      }
      return best;
    };
    // 6 units per step: the right edge is reached within 1.1 s at full pace.
    // Held until then, or for 20 s on a machine too busy to keep the pace.
    await page.keyDown('ArrowRight');
    let best = 400;
    for (let wait = 0; wait < 20 && best < 800 - 24 - 4; wait++) {
      await sleep(1000);
      best = whereIsBasket(await page.screenshot());
    }
    await page.keyUp('ArrowRight');
    assert.ok(best >= 800 - 24 - 4, `the basket is at x = ${best}, not at the right edge`);
  });

  it('fills the page and takes the screen with F11, and gives them back', async () => {
    await page.keyDown('F11');
    const full = await page.waitFor(`Module.canvas.width == ${kWidth} && ` +
                                    'document.fullscreenElement == Module.canvas', 10);
    await page.keyUp('F11');
    assert.ok(full, await page.eval('Module.canvas.width + "x" + Module.canvas.height'));
    assert.strictEqual(await page.eval('Module.canvas.height'), kHeight);
    await sleep(300);
    await page.keyDown('F11');
    const back = await page.waitFor('Module.canvas.width == 800 && !document.fullscreenElement', 10);
    await page.keyUp('F11');
    assert.ok(back, await page.eval('Module.canvas.width + "x" + Module.canvas.height'));
    assert.strictEqual(await page.eval('Module.canvas.height'), 600);
  });

  it('ends with its final score at Escape', async () => {
    await page.keyDown('Escape');
    const quit = await page.waitForConsole(/^Farewell happy gamer$/, 20);
    await page.keyUp('Escape');
    assert.ok(quit, page.consoleLines.join('\n'));
    assert.ok(page.printed.some((l) => /^ +[0-9]+> Final score: [0-9]+$/.test(l)),
              page.printed.join('\n'));
    assert.deepStrictEqual(page.errors, []);
  });
});
