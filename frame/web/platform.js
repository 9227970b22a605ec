// The page side of frame/PlatformWeb.cpp (an emscripten JavaScript library,
// linked into every browser build of the framework): the page's size, its
// focus, full screen as the browser allows it, and the keys the game needs.
mergeInto(LibraryManager.library, {
  // Keeps F-keys, Alt, Space, Tab and the arrows for the game: the browser
  // would otherwise open its help, scroll or take the keys itself. Repeats a
  // refused full-screen request at the next key press or click (the only
  // moments a browser grants one) and keeps a page-filling canvas fitted.
  vf_page_install: function() {
    if (Module.vfHooked) return;
    Module.vfHooked = true;
    var taken = /^(F[0-9]+|Alt|AltGraph| |ArrowUp|ArrowDown|ArrowLeft|ArrowRight|Tab)$/;
    var guard = function(e) {
      if (taken.test(e.key)) e.preventDefault();
    };
    window.addEventListener('keydown', guard, true);
    window.addEventListener('keyup', guard, true);
    var retry = function() {
      var canvas = Module['canvas'];
      if (Module.vfWantFullscreen && !document.fullscreenElement && canvas.requestFullscreen) {
        canvas.requestFullscreen().catch(function() {});
      }
    };
    window.addEventListener('keydown', retry, true);
    window.addEventListener('mousedown', retry, true);
    var fit = function() {
      if (Module.vfFillPage) Module['setCanvasSize'](window.innerWidth, window.innerHeight);
    };
    window.addEventListener('resize', fit);
    document.addEventListener('fullscreenchange', function() {
      // Left by the browser (Escape): the canvas keeps filling the page and
      // no new request follows.
      if (!document.fullscreenElement) Module.vfWantFullscreen = false;
      fit();
    });
  },

  vf_page_width: function() { return window.innerWidth | 0; },
  vf_page_height: function() { return window.innerHeight | 0; },
  vf_page_has_focus: function() { return document.hasFocus() ? 1 : 0; },

  // on: the canvas covers the page and full screen is asked for; off: the
  // canvas goes back into the page and full screen is left.
  vf_page_fill: function(on) {
    var canvas = Module['canvas'];
    Module.vfFillPage = !!on;
    Module.vfWantFullscreen = !!on;
    canvas.style.position = on ? 'fixed' : '';
    canvas.style.left = on ? '0' : '';
    canvas.style.top = on ? '0' : '';
    canvas.style.zIndex = on ? '100' : '';
    if (on) {
      if (!document.fullscreenElement && canvas.requestFullscreen) {
        canvas.requestFullscreen().catch(function() {});
      }
    } else if (document.fullscreenElement && document.exitFullscreen) {
      document.exitFullscreen().catch(function() {});
    }
  },

  // Tells the page's onGameEnd hook, if it has one, that the game has ended.
  vf_page_game_ended: function() {
    if (Module['onGameEnd']) Module['onGameEnd']();
  },
});
