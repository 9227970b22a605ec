// Runs the benchmark page to its end in headless Chromium and prints its
// Debug.txt as the results table of scripts/results-table.sh: each test's
// name, time and ratio to 4,816 ms.
// Usage: node tests/web/full_run.js [URL of the page | folder holding index.html]
// With a folder (default dist/web) the page is served on 127.0.0.1 for the run.
'use strict';
const fs = require('fs');
const path = require('path');
const {Browser, serve, readPageFile, sleep} = require('./browser.js');

const kRunMinutes = 60;

async function main() {
  const target = process.argv[2] || path.join(__dirname, '../../dist/web');
  let server = null;
  let url = target;
  if (fs.existsSync(target)) {
    server = await serve(target);
    url = server.url + 'index.html';
  }
  const browser = await Browser.launch();
  try {
    const page = await browser.newPage(1920, 1080);  // the screen of ./run-benchmark's display
    await page.goto(url);
    if (!await page.waitFor("document.getElementById('vf-start') && " +
                            "!document.getElementById('vf-start').hidden", 60)) {
      throw new Error('the page did not load: ' + page.consoleLines.join('\n'));
    }
    await page.key('Enter');
    const end = Date.now() + kRunMinutes * 60000;
    let shown = 0;
    for (;;) {
      const ended = await page.eval("!document.getElementById('done').hidden");
      const text = (await readPageFile(page, 'Debug.txt')) || '';
      const lines = text.split('\n').filter((l) => / took [0-9]+$/.test(l));
      for (; shown < lines.length; shown++) console.error(`  ${lines[shown]}`);
      if (ended) {
        fs.writeFileSync('Debug-web.txt', text);
        break;
      }
      if (Date.now() > end) throw new Error('the run did not end');
      await sleep(1000);
    }
    const table = await page.eval(
        "Array.from(document.querySelectorAll('#results tr')).map(function(tr) {" +
        " return Array.from(tr.children).map(function(c) { return c.textContent; }); })");
    for (const row of table) {
      console.log(`${row[0].padEnd(4)} ${row[1].padEnd(32)} ${row[2].padStart(10)} ${row[3].padStart(7)}`);
    }
    if (page.errors.length > 0) console.error('page errors:', page.errors);
  } finally {
    await browser.close();
    if (server) await server.close();
  }
}

main().catch((e) => {
  console.error(e.message);
  process.exit(1);
});
