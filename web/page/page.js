// The page around the game: its size, the keyboard focus, the loading line, and what to say when
// the game cannot run here.
(function () {
  'use strict';

  var WIDTH = 640;
  var HEIGHT = 480;
  var canvas = document.getElementById('screen');
  var frame = document.getElementById('frame');
  var status = document.getElementById('status');
  var again = document.getElementById('again');

  function say(text, trouble) {
    status.textContent = text;
    status.className = trouble ? 'trouble' : '';
  }

  // Whole multiples keep every pixel of the game the same size; only a window too small for the
  // game at all shrinks it, by less than one. The controls below may need the page scrolled.
  function fit() {
    var full = document.fullscreenElement === frame;
    var above = canvas.getBoundingClientRect().top + window.scrollY;
    var roomX = full ? window.innerWidth : document.documentElement.clientWidth;
    var roomY = full ? window.innerHeight : window.innerHeight - above - status.offsetHeight;
    // Touch buttons take their room below the game, or beside it when it lies on its side.
    var touch = document.getElementById('touch');
    if (!full && !touch.hidden) {
      if (window.innerWidth > window.innerHeight) {
        roomX -= touch.offsetWidth + 8;
      } else {
        roomY -= touch.offsetHeight + 8;
      }
    }
    var scale = Math.min(roomX / WIDTH, roomY / HEIGHT);
    scale = scale >= 1 ? Math.floor(scale) : Math.max(scale, 0.25);
    document.documentElement.style.setProperty('--scale', String(scale));
    // Nearest pixels keep a whole enlargement sharp; below one they would drop whole rows and
    // columns of the text, so a shrunk game is drawn smoothly.
    canvas.classList.toggle('shrunk', scale < 1);
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  // In a browser Escape is how people leave full screen, so there it must never reach the game,
  // where it quits. The browser may leave full screen before the key comes to the page, so an
  // Escape just after that is the same press.
  var leftFullScreen = -Infinity;
  document.addEventListener('fullscreenchange', function () {
    if (!document.fullscreenElement) {
      leftFullScreen = performance.now();
    }
  });
  function leaveFullScreenOnly(event) {
    var full = document.fullscreenElement;
    if (!full && performance.now() - leftFullScreen > 500) {
      return;
    }
    event.preventDefault();
    event.stopImmediatePropagation();
    if (full) {
      document.exitFullscreen().catch(function () {});
    }
  }

  // The game's full-screen keys. The page gives full screen to the game's frame; the browser's
  // SDL would ask for it only at some later key release, and resize the game's canvas. The keys
  // stop here, before the game, which listens further down.
  window.addEventListener('keydown', function (event) {
    if (event.key === 'Escape') {
      leaveFullScreenOnly(event);
      return;
    }
    if (event.key !== 'F11' && !(event.key === 'Enter' && event.altKey)) {
      return;
    }
    event.preventDefault();
    event.stopImmediatePropagation();
    if (event.repeat || !frame.requestFullscreen) {
      return;
    }
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      frame.requestFullscreen().catch(function () {});
    }
  }, true);

  // The page already shows the frame as large as the browser's window holds, so the desktop
  // game's keys for a larger or smaller window stop here; its canvas stays 640x480.
  window.addEventListener('keydown', function (event) {
    if (event.key === 'PageUp' || event.key === 'PageDown' ||
        (event.location === KeyboardEvent.DOM_KEY_LOCATION_NUMPAD &&
         (event.key === '+' || event.key === '-'))) {
      event.stopImmediatePropagation();
    }
  }, true);

  function focusGame() {
    canvas.focus({preventScroll: true});
  }
  canvas.addEventListener('mousedown', focusGame);
  window.addEventListener('focus', focusGame);

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    say('This browser cannot run WebAssembly, which the game needs. ' +
        'A current Firefox, Chrome, Edge or Safari can.', true);
    return;
  }

  // Watching a kept game starts the game as the desktop's --replay does, from the browser's
  // file system; the link to it is this page with ?watch=ID.
  var WATCHED = '/watched.replay';
  var watching = false;
  // What the status line says once the game runs.
  var notice = '';

  function start(replay) {
    watching = !!replay;
    window.Module = {
      canvas: canvas,
      arguments: replay ? ['--replay', WATCHED] : [],
      preRun: replay ? [function () {
        window.Module.FS.writeFile(WATCHED, replay);
      }] : [],
      setStatus: function (text) {
        // Emscripten reports "Downloading data... (loaded/total)" while the data comes in.
        var parts = /\((\d+(\.\d+)?)\/(\d+)\)/.exec(text || '');
        if (parts) {
          say('Loading the game… ' + Math.round(100 * parts[1] / parts[3]) + '%');
        } else if (text) {
          say('Loading the game…');
        }
      },
      onRuntimeInitialized: function () {
        say(notice, !!notice);
        notice = '';
        focusGame();
        keepForOffline();
      },
      onExit: function () {
        if (newerBuild) {
          say('The game has ended, and a newer version of it has come: reload the page to ' +
              'play that.');
          return;
        }
        if (watching) {
          // Watched to the end or stopped: back to the menu.
          setTimeout(start, 0);
          return;
        }
        say('The game has ended.');
        again.hidden = false;
        again.focus();
      },
      onAbort: function (what) {
        say('The game stopped: ' + what + '. Reload the page to try again.', true);
      },
      print: function (text) {
        console.log(text);
      },
      printErr: function (text) {
        console.warn(text);
      }
    };

    window.arcadeScores.join(window.Module);
    window.createArcade(window.Module);
  }

  function startOrWatch() {
    var id = new URLSearchParams(location.search).get('watch');
    if (!id || !/^\d+$/.test(id)) {
      start();
      return;
    }
    say('Loading the game to watch…');
    // Once asked for, a reload of the page plays rather than watching it again.
    history.replaceState(null, '', location.pathname);
    window.arcadeScores.replay(id).then(start, function (error) {
      notice = 'That game cannot be watched: ' + error.message + '.';
      start();
    });
  }

  // A page that came from the copy of an older build is left with the newer build's files once
  // that build's worker takes over: its game, started again in place, would load them into the
  // older build's script. Such a page is reloaded instead, by the player (a reload the page made
  // itself would have to start the game's sound without the player's say).
  var newerBuild = false;
  if (navigator.serviceWorker && navigator.serviceWorker.controller) {
    navigator.serviceWorker.addEventListener('controllerchange', function () {
      newerBuild = true;
    });
  }

  // Once the game runs, the site's files are kept in the browser so that it loads and plays
  // without a network; asked for after the game's own downloads, so as not to slow them.
  var offlineAsked = false;
  function keepForOffline() {
    if (offlineAsked || !navigator.serviceWorker) {
      return;
    }
    offlineAsked = true;
    navigator.serviceWorker.register('service-worker.js').catch(function () {});
  }

  // Playing again starts the game afresh in the same page; the scores come back from the
  // browser's storage, where every stored score has gone.
  again.addEventListener('click', function () {
    again.hidden = true;
    say('Loading the game…');
    start();
  });
  var script = document.createElement('script');
  script.src = 'arcade.js';
  script.onload = startOrWatch;
  script.onerror = function () {
    say('The game could not be loaded from the server.', true);
  };
  document.body.appendChild(script);
})();
