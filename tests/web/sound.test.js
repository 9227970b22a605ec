// The browser's sound, heard by a WebAudio analyser on the page's audio
// output while the sound-check page (SoundCheck.cpp) plays the benchmark's
// end-of-test chime and streams its two pieces of music: silence first, the
// chime, "test.wav", "test.ogg" (both well past the four buffers primed at
// the start, so the stream's refills are heard), then silence again once the
// stopped stream's queued buffers (at most 1.5 s) have played out.
// VF_SOUND_PAGE is the folder holding sound-check.html and its files.
'use strict';
const assert = require('node:assert');
const {describe, it, before, after} = require('node:test');
const {openGamePage} = require('./browser.js');

const kQuiet = 0.005;  // root mean square of the output: below this, silence
const kHeard = 0.02;

// Samples the output's level every 25 ms, each tagged with the phase the
// game announced last ("phase: <name>" in its log, shown in the page's panel).
const kListen = `(function() {
  var ctx = AL.currentCtx;
  var analyser = ctx.audioCtx.createAnalyser();
  analyser.fftSize = 2048;
  ctx.gain.connect(analyser);
  var data = new Float32Array(analyser.fftSize);
  var panel = document.getElementById('vf-log');
  var phase = function() {
    for (var line = panel.lastChild; line; line = line.previousSibling) {
      var m = /> phase: (\\w+)$/.exec(line.textContent);
      if (m) return m[1];
    }
    return 'start';
  };
  window.vfLevels = [];
  setInterval(function() {
    analyser.getFloatTimeDomainData(data);
    var sum = 0;
    for (var i = 0; i < data.length; i++) sum += data[i] * data[i];
    vfLevels.push([phase(), performance.now(), Math.sqrt(sum / data.length)]);
  }, 25);
})()`;

describe('sound in the browser', () => {
  let page;
  let levels;
  before(async () => {
    page = await openGamePage(process.env.VF_SOUND_PAGE, 'sound-check.html');
    await page.key('Enter');
    assert.ok(await page.waitFor("typeof AL != 'undefined' && AL.currentCtx", 30));
    await page.eval(kListen);
    assert.ok(await page.waitForConsole(/^Farewell happy gamer$/, 90), page.consoleLines.join('\n'));
    levels = await page.eval('vfLevels');
    if (process.env.VF_SHOW_LEVELS) {
      for (const [phase, ms, level] of levels) console.log(phase, ms.toFixed(0), level.toFixed(4));
    }
  });
  after(async () => { if (page) await page.close(); });

  // The levels of a phase, from `skipMs` after it began; with `lastMs`,
  // only those of its last `lastMs`.
  function phaseLevels(name, skipMs, lastMs) {
    const all = levels.filter((l) => l[0] === name);
    assert.ok(all.length > 0, `no samples in phase ${name}`);
    const start = all[0][1] + skipMs;
    const end = all[all.length - 1][1];
    return all.filter((l) => l[1] >= start && (!lastMs || l[1] >= end - lastMs)).map((l) => l[2]);
  }

  it('is silent before anything plays', () => {
    const quiet = levels.filter((l) => l[0] === 'start' || l[0] === 'silence').map((l) => l[2]);
    assert.ok(quiet.length > 0);
    assert.ok(Math.max(...quiet) < kQuiet);
  });

  it('hears the end-of-test chime', () => {
    assert.ok(Math.max(...phaseLevels('chime', 0)) > kHeard);
  });

  for (const music of ['wave', 'ogg']) {
    it(`hears the streamed ${music} music to the end of its phase`, () => {
      const last = phaseLevels(music, 0, 1000);  // the stream's refills play by then
      // The page schedules sound 0.1 s ahead on its main thread: a busy
      // machine that stalls the page for longer leaves short gaps.
      const heard = last.filter((l) => l > kQuiet).length;
      assert.ok(heard >= 0.5 * last.length, `${heard} of ${last.length} samples heard`);
      assert.ok(Math.max(...last) > kHeard);
    });
  }

  it('falls silent once the music stops', () => {
    assert.ok(Math.max(...phaseLevels('after', 1600)) < kQuiet);
  });
});
