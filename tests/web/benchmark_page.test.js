// The benchmark's page in headless Chromium, in one run: the start gate, the
// console's banner and loading lines, the picture of the first test (corner
// markers and background, in the browser's screenshot and in the F10
// screenshot offered for download), outlines while F9 is held, and Escape
// during the second test, which leaves Debug.txt with the header and the
// first test's line.
// VF_BENCHMARK_PAGE is the folder holding index.html and its files.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const {describe, it, before, after} = require('node:test');
const {openGamePage, readPageFile, readPageBytes, decodePng, meanColour, sleep} =
    require('./browser.js');

const pageDir = process.env.VF_BENCHMARK_PAGE;
const sourceDir = process.env.VF_SOURCE_DIR;
const kTestMs = 301 * 16;
const kColourTolerance = 12;

// What the program prints from start-up to the end of loading.
const kStartLines = [
  '', '-=-=-=-=-=-=-=-=-', 'VeskFrame - v0.25', '       1> Opened Window',
  '       2> OpenAL Audio Engaged!', '       3> Opened Window', '       4> Load Image : bandwidth ',
  '       5>     Loaded Spritesheet of 32x32 sprites', '       6> Load Image : gfx-32 ',
  '       7>     Loaded Spritesheet of 32x32 sprites', '       8> Load Wave 1',
  '       9>      Load 34398 bytes',
];

// Each corner of the view holds its marker: the central 16 x 16 units of
// frames 1 to 4 of the sprite sheet, clockwise from the top-left.
function expectCornerMarkers(shot, left, top, width, height) {
  const sheet = decodePng(fs.readFileSync(path.join(sourceDir, 'Data/1/gfx-32.png')));
  const perRow = sheet.width / 32;
  const scale = width / 800;  // pixels per drawing unit
  const w = 800, h = height / scale;
  const centres = [[16, 16], [w - 16, 16], [w - 16, h - 16], [16, h - 16]];
  centres.forEach(([cx, cy], k) => {
    const frame = k + 1;
    const want = meanColour(sheet, (frame % perRow) * 32 + 8, Math.floor(frame / perRow) * 32 + 8, 16);
    const got = meanColour(shot, left + Math.floor((cx - 8) * scale),
                           top + Math.floor((cy - 8) * scale), Math.floor(16 * scale));
    for (let c = 0; c < 3; c++) {
      assert.ok(Math.abs(got[c] - want[c]) <= kColourTolerance,
                `corner ${k} channel ${c}: ${got[c]} instead of ${want[c]}`);
    }
  });
}

// Whether the background has faded to the benchmark's dark green
// (0, 110, 0) in an empty part of the view.
function backgroundSettled(shot, left, top) {
  const got = meanColour(shot, left + 60, top + 60, 40);
  return [0, 110, 0].every((want, c) => Math.abs(got[c] - want) <= kColourTolerance);
}

function expectBackground(shot, left, top) {
  assert.ok(backgroundSettled(shot, left, top),
            `background ${meanColour(shot, left + 60, top + 60, 40)} instead of 0,110,0`);
}

describe('benchmark page', () => {
  let page;
  before(async () => { page = await openGamePage(pageDir, 'index.html'); });
  after(async () => { if (page) await page.close(); });

  it('waits at its start gate, saying why, until a key is pressed', async () => {
    const gate = await page.eval("document.getElementById('vf-start').textContent");
    assert.match(gate, /sound only after a click or a key press/);
    await sleep(500);
    assert.deepStrictEqual(page.printed, [], 'the program started before the key');
    await page.key('Enter');
    assert.ok(await page.waitFor("document.getElementById('vf-start').hidden", 10));
  });

  it('prints the banner and the loading lines in order', async () => {
    assert.ok(await page.waitForConsole(/ 9> +Load 34398 bytes/, 60), page.consoleLines.join('\n'));
    assert.deepStrictEqual(page.printed.slice(0, kStartLines.length), kStartLines);
  });

  it('shows the corner markers and the background in the first test', async () => {
    const box = await page.eval(
        "(function() { var r = Module.canvas.getBoundingClientRect();" +
        " return [r.left, r.top, r.width, r.height]; })()");
    assert.deepStrictEqual(box.slice(2), [800, 600]);
    // The background fades in over some 30 frames: fewer per second on a
    // busy machine.
    let shot = await page.screenshot();
    for (let wait = 0; wait < 20 && !backgroundSettled(shot, box[0], box[1]); wait++) {
      await sleep(250);
      shot = await page.screenshot();
    }
    expectCornerMarkers(shot, box[0], box[1], 800, 600);
    expectBackground(shot, box[0], box[1]);
  });

  it('offers the F10 screenshot for download, with the same picture', async () => {
    await page.keyDown('F10');
    const saved = await page.waitFor("FS.analyzePath('/Screenshot.png').exists", 10);
    await page.keyUp('F10');
    assert.ok(saved);
    assert.ok(await page.waitFor(
        "Array.from(document.querySelectorAll('#vf-files a')).some(" +
        "function(a) { return a.textContent == 'Screenshot.png' && a.href; })", 10));
    const shot = decodePng(await readPageBytes(page, 'Screenshot.png'));
    assert.deepStrictEqual([shot.width, shot.height], [800, 600]);
    expectCornerMarkers(shot, 0, 0, 800, 600);
    expectBackground(shot, 0, 0);
  });

  it('draws outlines while F9 is held', async () => {
    const box = await page.eval(
        "(function() { var r = Module.canvas.getBoundingClientRect(); return [r.left, r.top]; })()");
    await page.keyDown('F9');
    await sleep(500);
    const shot = await page.screenshot();
    await page.keyUp('F9');
    // The top-left marker's middle shows the background, crossed by the
    // white diagonal between its two triangles.
    const got = meanColour(shot, box[0] + 8, box[1] + 8, 16);
    [0, 110, 0].forEach((want, c) => {
      assert.ok(Math.abs(got[c] - want) <= 30, `marker middle ${got} in the wireframe view`);
    });
    let white = 0;
    for (let y = box[1] + 8; y < box[1] + 24; y++) {
      for (let x = box[0] + 8; x < box[0] + 24; x++) {
        const p = (y * shot.width + x) * 4;
        if (shot.rgba[p] > 180 && shot.rgba[p + 1] > 180 && shot.rgba[p + 2] > 180) white++;
      }
    }
    assert.ok(white >= 8, `${white} white pixels of an outline`);
  });

  it('keeps the first line in Debug.txt when Escape ends the second test', async () => {
    assert.ok(await page.waitFor("FS.readFile('/Debug.txt', {encoding: 'utf8'})" +
                                 ".split('\\n').length > 3", 30));
    // Held until the game has seen it: a busy machine may take long between polls.
    await page.keyDown('Escape');
    const quit = await page.waitForConsole(/^Farewell happy gamer$/, 20);
    await page.keyUp('Escape');
    assert.ok(quit, page.consoleLines.join('\n'));
    assert.ok(page.printed.some((l) => /^ +[0-9]+> Closing OpenGL Window$/.test(l)));
    const lines = (await readPageFile(page, 'Debug.txt')).split('\n');
    assert.deepStrictEqual(lines.slice(0, 2), ["Bim's Magical Benchmark", '-=-=-=-']);
    assert.strictEqual(lines.length, 4, lines.join('\n'));  // the last line ends with a newline
    const m = /^Practically nothing took ([0-9]+)$/.exec(lines[2]);
    assert.ok(m, lines[2]);
    assert.ok(Number(m[1]) >= kTestMs - 16, lines[2]);
    // The page's table and its download link hold the same.
    assert.ok(await page.waitFor("!document.getElementById('done').hidden", 5));
    const cells = await page.eval(
        "Array.from(document.querySelectorAll('#results tbody tr:first-child td'))" +
        ".map(function(td) { return td.textContent; })");
    assert.deepStrictEqual(cells, ['0', 'Practically nothing', m[1], (m[1] / kTestMs).toFixed(3)]);
    const offered = await page.eval(
        "fetch(Array.from(document.querySelectorAll('#vf-files a')).find(" +
        "function(a) { return a.textContent == 'Debug.txt'; }).href).then(function(r) { return r.text(); })");
    assert.strictEqual(offered, lines.join('\n'));
    assert.deepStrictEqual(page.errors, []);
  });
});
