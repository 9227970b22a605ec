// Page support shared by every game page (linked in front of the game's
// script): the start gate, the log panel and the files the game wrote.
// - Start gate: a browser lets a page play sound only after a click or a key
//   press, so the game starts at the first one (element #vf-start says so).
// - Log panel: what the game prints (console and error lines) also goes to
//   element #vf-log, and to the browser's console.
// - Files: what the game writes in its working folder (Debug.txt,
//   Screenshot.png, ...) is offered for download in element #vf-files,
//   refreshed twice a second and when the game ends.
// A page may set Module.onGameEnd before this runs; it is still called. The
// canvas is the element with id "canvas" unless the page sets Module.canvas.
(function() {
  var byId = function(id) { return document.getElementById(id); };
  if (!Module.canvas) Module.canvas = byId('canvas');
  // The right mouse button is the game's (MouseDown_Alt), not a menu's.
  Module.canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });

  // The panels' looks; a page's own style sheet comes later and wins.
  var style = document.createElement('style');
  style.textContent =
      'main { display: flex; flex-wrap: wrap; gap: 16px; padding: 16px; }' +
      ' canvas { display: block; background: #000; outline: none; }' +
      ' #vf-start { position: absolute; left: 16px; top: 16px; width: 768px; padding: 24px;' +
      ' box-sizing: border-box; font-size: 18px; }' +
      ' #vf-log { height: 220px; overflow-y: auto; background: #000; padding: 6px;' +
      ' font: 12px/1.3 monospace; white-space: pre-wrap; }' +
      ' .vf-error { color: #f88; } #vf-files a { margin-right: 12px; color: #8cf; }';
  document.head.insertBefore(style, document.head.firstChild);

  var log = function(text, isError) {
    if (isError) console.warn(text); else console.log(text);
    var panel = byId('vf-log');
    if (!panel) return;
    var line = document.createElement('div');
    line.textContent = text;
    if (isError) line.className = 'vf-error';
    panel.appendChild(line);
    panel.scrollTop = panel.scrollHeight;
  };
  Module.print = function(text) { log(text, false); };
  Module.printErr = function(text) { log(text, true); };

  // ---- Start gate ----
  Module.preRun = [].concat(Module.preRun || [], function() {
    addRunDependency('vf-start');
    var gate = byId('vf-start');
    if (gate) gate.hidden = false;
    var start = function(e) {
      window.removeEventListener('keydown', start, true);
      window.removeEventListener('mousedown', start, true);
      if (e) e.preventDefault();
      if (gate) gate.hidden = true;
      var canvas = byId('canvas');
      if (canvas) canvas.focus();
      removeRunDependency('vf-start');
    };
    window.addEventListener('keydown', start, true);
    window.addEventListener('mousedown', start, true);
  });

  // ---- Files written by the game ----
  var offered = {};
  var offerFiles = function() {
    var list = byId('vf-files');
    if (!list || typeof FS == 'undefined') return;
    var names = FS.readdir('/').filter(function(name) {
      return FS.isFile(FS.stat('/' + name).mode);
    });
    names.forEach(function(name) {
      var stamp = FS.stat('/' + name).mtime.getTime();
      var entry = offered[name];
      if (entry && entry.stamp === stamp) return;
      if (!entry) {
        var link = document.createElement('a');
        link.download = name;
        link.textContent = name;
        list.appendChild(link);
        entry = offered[name] = {link: link, stamp: 0, url: null};
      }
      if (entry.url) URL.revokeObjectURL(entry.url);
      var type = /\.png$/.test(name) ? 'image/png' : 'text/plain';
      entry.url = URL.createObjectURL(new Blob([FS.readFile('/' + name)], {type: type}));
      entry.link.href = entry.url;
      entry.stamp = stamp;
    });
  };
  var timer = setInterval(offerFiles, 500);

  var pageOnEnd = Module.onGameEnd;
  Module.onGameEnd = function() {
    clearInterval(timer);
    offerFiles();
    var canvas = byId('canvas');
    if (canvas) canvas.classList.add('vf-ended');
    log('The game has ended.', false);
    if (pageOnEnd) pageOnEnd();
  };
})();
