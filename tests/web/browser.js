// Drives Debian's Chromium headless over its debugging pipe, with Node's own
// modules only (nothing is downloaded): serves a folder on 127.0.0.1, opens
// pages, sends keys, reads the console, evaluates script, takes screenshots.
// Also decodes PNG files (8-bit RGB or RGBA, not interlaced) for the tests.
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const CHROMIUM = process.env.VF_CHROMIUM || '/usr/lib/chromium/chromium';

// ---- Static server ----

const TYPES = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
};

// Serves `dir` on 127.0.0.1 at a free port; resolves to {url, close()}.
function serve(dir) {
  const root = path.resolve(dir);  // a folder named relative to the working folder too
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => server.close(done)),
      });
    });
  });
}

// ---- Browser ----

const KEYS = {
  Escape: 27, Enter: 13, ' ': 32, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
  Shift: 16, Control: 17, Alt: 18,
};
for (let i = 1; i <= 12; i++) KEYS['F' + i] = 111 + i;

// The key description Chromium needs for a DOM key event: the key, the
// code and the Windows key code (which the page's GLFW maps from).
function keyInfo(key) {
  if (/^[a-z]$/i.test(key)) {
    return {key: key.toLowerCase(), code: 'Key' + key.toUpperCase(), keyCode: key.toUpperCase().charCodeAt(0)};
  }
  if (/^[0-9]$/.test(key)) return {key, code: 'Digit' + key, keyCode: key.charCodeAt(0)};
  if (!(key in KEYS)) throw new Error('unknown key ' + key);
  return {key, code: key === ' ' ? 'Space' : key, keyCode: KEYS[key]};
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.consoleLines = [];  // every console message
    this.printed = [];       // console.log only: what the game printed to its console
    this.errors = [];
  }
  send(method, params) { return this.browser.send(method, params, this.sessionId); }

  async goto(url) {
    await this.send('Page.navigate', {url});
  }
  // Evaluates an expression in the page (promises are awaited) and returns
  // its value.
  async eval(expression) {
    const r = await this.send('Runtime.evaluate',
                              {expression, awaitPromise: true, returnByValue: true});
    if (r.exceptionDetails) {
      throw new Error('page: ' + (r.exceptionDetails.exception?.description || r.exceptionDetails.text));
    }
    return r.result.value;
  }
  // Waits until the expression is true (polled every 50 ms); false on time-out.
  async waitFor(expression, seconds) {
    const end = Date.now() + seconds * 1000;
    while (Date.now() < end) {
      if (await this.eval(`!!(${expression})`)) return true;
      await sleep(50);
    }
    return false;
  }
  // Waits until a console line matches `pattern`; false on time-out.
  async waitForConsole(pattern, seconds) {
    const end = Date.now() + seconds * 1000;
    while (Date.now() < end) {
      if (this.consoleLines.some((l) => pattern.test(l))) return true;
      await sleep(50);
    }
    return false;
  }
  // Holds a key for `holdMs` (a poll sees only keys held at least a frame).
  async key(name, holdMs = 120) {
    const k = keyInfo(name);
    const base = {key: k.key, code: k.code, windowsVirtualKeyCode: k.keyCode,
                  nativeVirtualKeyCode: k.keyCode};
    await this.send('Input.dispatchKeyEvent', {type: 'rawKeyDown', ...base});
    await sleep(holdMs);
    await this.send('Input.dispatchKeyEvent', {type: 'keyUp', ...base});
  }
  async keyDown(name) {
    const k = keyInfo(name);
    await this.send('Input.dispatchKeyEvent', {type: 'rawKeyDown', key: k.key, code: k.code,
                                               windowsVirtualKeyCode: k.keyCode});
  }
  async keyUp(name) {
    const k = keyInfo(name);
    await this.send('Input.dispatchKeyEvent', {type: 'keyUp', key: k.key, code: k.code,
                                               windowsVirtualKeyCode: k.keyCode});
  }
  async click(x, y) {
    for (const type of ['mousePressed', 'mouseReleased']) {
      await this.send('Input.dispatchMouseEvent', {type, x, y, button: 'left', clickCount: 1});
    }
  }
  // A PNG of the page's view, decoded: {width, height, rgba}.
  async screenshot() {
    const r = await this.send('Page.captureScreenshot', {format: 'png'});
    return decodePng(Buffer.from(r.data, 'base64'));
  }
}

class Browser {
  // Starts Chromium headless with its debugging pipe on descriptors 3 and 4.
  static async launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vf-chromium-'));
    const args = [
      '--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--remote-debugging-pipe',
      '--force-color-profile=srgb',
      '--no-first-run', '--no-default-browser-check', '--disable-extensions',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--disable-backgrounding-occluded-windows', `--user-data-dir=${profile}`, 'about:blank',
    ];
    const child = childProcess.spawn(CHROMIUM, args,
                                     {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe']});
    const browser = new Browser(child, profile);
    // Chromium also ends when its pipe closes; this covers a test killed
    // by a signal.
    process.on('exit', () => child.kill('SIGKILL'));
    for (const signal of ['SIGINT', 'SIGTERM']) process.once(signal, () => process.exit(1));
    child.stderr.on('data', (d) => { browser.stderr += d; });
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.stderr = '';
    this.nextId = 1;
    this.waiting = new Map();
    this.pages = new Map();
    this.exited = new Promise((resolve) => child.on('exit', resolve));
    let pending = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      pending = Buffer.concat([pending, chunk]);
      let end;
      while ((end = pending.indexOf(0)) >= 0) {
        this.receive(JSON.parse(pending.subarray(0, end).toString('utf8')));
        pending = pending.subarray(end + 1);
      }
    });
    child.on('exit', () => {
      for (const {reject} of this.waiting.values()) reject(new Error('Chromium exited'));
      this.waiting.clear();
    });
  }

  send(method, params = {}, sessionId) {
    const id = this.nextId++;
    const message = {id, method, params};
    if (sessionId) message.sessionId = sessionId;
    this.child.stdio[3].write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.waiting.set(id, {resolve, reject, method}));
  }

  receive(message) {
    if (message.id !== undefined) {
      const w = this.waiting.get(message.id);
      if (!w) return;
      this.waiting.delete(message.id);
      if (message.error) w.reject(new Error(`${w.method}: ${message.error.message}`));
      else w.resolve(message.result);
      return;
    }
    const page = this.pages.get(message.sessionId);
    if (!page) return;
    if (message.method === 'Runtime.consoleAPICalled') {
      const text = message.params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description || '')).join(' ');
      page.consoleLines.push(text);
      if (message.params.type === 'log') page.printed.push(text);
      if (process.env.VF_SHOW_CONSOLE) console.log('  page> ' + text);
    } else if (message.method === 'Runtime.exceptionThrown') {
      const d = message.params.exceptionDetails;
      page.errors.push(d.exception?.description || d.text);
    }
  }

  // A new tab of width x height CSS pixels (the screen has the same size)
  // that has the input focus.
  async newPage(width = 1280, height = 800) {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
    const page = new Page(this, sessionId);
    this.pages.set(sessionId, page);
    await page.send('Runtime.enable');
    await page.send('Page.enable');
    await page.send('Emulation.setDeviceMetricsOverride',
                    {width, height, deviceScaleFactor: 1, mobile: false, screenWidth: width,
                     screenHeight: height});
    await page.send('Emulation.setFocusEmulationEnabled', {enabled: true});
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), sleep(3000)]);
    } catch (e) {
      // already gone
    }
    await Promise.race([this.exited, sleep(5000)]);
    if (this.child.exitCode === null) this.child.kill('SIGKILL');
    fs.rmSync(this.profile, {recursive: true, force: true});
  }
}

// ---- PNG ----

// Decodes an 8-bit RGB or RGBA PNG into {width, height, rgba}.
function decodePng(buffer) {
  let pos = 8;
  let width = 0, height = 0, colourType = 0;
  const data = [];
  while (pos < buffer.length) {
    const length = buffer.readUInt32BE(pos);
    const type = buffer.toString('latin1', pos + 4, pos + 8);
    const body = buffer.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      colourType = body[9];
      if (body[8] !== 8 || (colourType !== 2 && colourType !== 6) || body[12] !== 0) {
        throw new Error('PNG: only 8-bit RGB or RGBA, not interlaced');
      }
    } else if (type === 'IDAT') {
      data.push(body);
    }
    pos += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const bpp = colourType === 6 ? 4 : 3;
  const stride = width * bpp;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x++) {
      const a = x >= bpp ? pixels[y * stride + x - bpp] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const c = x >= bpp && y > 0 ? pixels[(y - 1) * stride + x - bpp] : 0;
      let v = line[x];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      pixels[y * stride + x] = v & 255;
    }
  }
  const rgba = Buffer.alloc(width * height * 4, 255);
  for (let i = 0; i < width * height; i++) {
    for (let k = 0; k < bpp; k++) rgba[i * 4 + k] = pixels[i * bpp + k];
  }
  return {width, height, rgba};
}

// Mean red, green and blue over a square of pixels.
function meanColour(picture, x0, y0, side) {
  const sum = [0, 0, 0];
  for (let y = y0; y < y0 + side; y++) {
    for (let x = x0; x < x0 + side; x++) {
      for (let c = 0; c < 3; c++) sum[c] += picture.rgba[(y * picture.width + x) * 4 + c];
    }
  }
  return sum.map((s) => s / (side * side));
}

function sleep(ms) { return new Promise((resolve) => setTimeout(resolve, ms)); }

module.exports = {Browser, serve, decodePng, meanColour, sleep};

// Serves `dir`, starts Chromium and opens `file` of it in a focused tab;
// resolves once the page waits at its start gate. close() ends all of it.
async function openGamePage(dir, file, width = 1280, height = 800) {
  const server = await serve(dir);
  const browser = await Browser.launch();
  const page = await browser.newPage(width, height);
  page.close = async () => {
    await browser.close();
    await server.close();
  };
  try {
    await page.goto(server.url + file);
    if (!await page.waitFor("document.getElementById('vf-start') && " +
                            "!document.getElementById('vf-start').hidden", 60)) {
      throw new Error(`${file}: the start gate never showed\n${page.consoleLines.join('\n')}`);
    }
  } catch (e) {
    await page.close();
    throw e;
  }
  return page;
}

// The text of a file in the page's file system; null when there is none.
function readPageFile(page, name) {
  return page.eval(`FS.analyzePath(${JSON.stringify(name)}).exists ? ` +
                   `FS.readFile(${JSON.stringify(name)}, {encoding: 'utf8'}) : null`);
}

// The bytes of a file in the page's file system, as a Buffer.
async function readPageBytes(page, name) {
  const base64 = await page.eval(
      `(function() { var b = FS.readFile(${JSON.stringify(name)}); var s = '';` +
      ` for (var i = 0; i < b.length; i++) s += String.fromCharCode(b[i]); return btoa(s); })()`);
  return Buffer.from(base64, 'base64');
}

Object.assign(module.exports, {openGamePage, readPageFile, readPageBytes});
