// The page around the game: its size, the keyboard focus, the loading line, the one game of the
// visit and playing it again, and what to say when the game cannot run here.
(function () {
  'use strict';

  var WIDTH = 640;
  var HEIGHT = 480;
  // A whole enlargement is kept while it fills at least this share of the room the game has;
  // below that the game fills the room, first enlarged by whole pixels and then drawn smoothly
  // down to the size that fits.
  var WHOLE_FILLS = 0.8;
  var SMALLEST = 0.25;
  var canvas = document.getElementById('screen');
  var view = document.getElementById('view');
  var stage = document.getElementById('stage');
  var status = document.getElementById('status');
  var loading = document.getElementById('loading');
  var keysAway = document.getElementById('keys-away');
  var again = document.getElementById('again');
  var fullButton = document.getElementById('full');

  function say(text, trouble) {
    status.textContent = text;
    status.className = trouble ? 'trouble' : '';
    if (!loading.hidden) {
      loading.textContent = text;
    }
  }

  function touchPlay() {
    return document.documentElement.classList.contains('touch');
  }

  function cssPixels(name) {
    return parseFloat(getComputedStyle(document.documentElement).getPropertyValue(name)) || 0;
  }

  function tallest(ids) {
    return Math.max.apply(null, ids.map(function (id) {
      return document.getElementById(id).offsetHeight;
    }));
  }

  // The room left to the game by the page's own controls, from the window's size and theirs
  // alone: where the game stands now, scrolled or not, counts for nothing.
  function room() {
    var full = document.fullscreenElement === stage;
    var width = full ? window.innerWidth : document.documentElement.clientWidth;
    var height = window.innerHeight;
    var gap = cssPixels('--gap');
    if (touchPlay()) {
      if (window.innerWidth > window.innerHeight) {
        width -= 2 * (cssPixels('--side') + gap);
      } else {
        height -= tallest(['move', 'fire']) + tallest(['keys', 'page-keys']) +
                  tallest(['naming']) + 3 * gap;
      }
    } else if (!full) {
      width -= 2 * gap;
      height -= gap;
    }
    return {width: Math.max(width, 0), height: Math.max(height, 0)};
  }

  var sharp = false;
  var copying = false;
  var viewContext = null;

  // Each frame of the game enlarged by whole pixels onto the view, which the browser draws
  // smoothly at the size that fits.
  function copyFrame() {
    if (!sharp) {
      copying = false;
      return;
    }
    viewContext.drawImage(canvas, 0, 0, view.width, view.height);
    requestAnimationFrame(copyFrame);
  }

  function fit() {
    var space = room();
    var fits = Math.min(space.width / WIDTH, space.height / HEIGHT);
    var whole = Math.floor(fits);
    var scale = whole >= 1 && whole / fits >= WHOLE_FILLS ? whole : Math.max(fits, SMALLEST);
    document.documentElement.style.setProperty('--scale', String(scale));
    // Whole device pixels to a game pixel before the smooth step down; where a game pixel gets
    // at most one device pixel there is nothing to enlarge first.
    var enlarge = Math.ceil(scale * (window.devicePixelRatio || 1) - 1e-9);
    sharp = scale !== whole && enlarge > 1;
    canvas.classList.toggle('shrunk', scale !== whole && !sharp);
    view.hidden = !sharp;
    if (sharp && view.width !== WIDTH * enlarge) {
      view.width = WIDTH * enlarge;
      view.height = HEIGHT * enlarge;
      viewContext = view.getContext('2d');
    }
    if (sharp) {
      viewContext.imageSmoothingEnabled = false;
      if (!copying) {
        copying = true;
        requestAnimationFrame(copyFrame);
      }
    }
  }
  // A phone turned tells of it in more than one event, some before its window has its new size:
  // fitted again once the browser has laid the page out anew.
  function refit() {
    fit();
    requestAnimationFrame(fit);
  }
  window.addEventListener('resize', refit);
  window.addEventListener('orientationchange', refit);
  document.addEventListener('fullscreenchange', refit);
  fit();

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function () {});
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function () {});
    }
  }
  fullButton.addEventListener('click', toggleFullScreen);

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

  // The game's full-screen keys. The page gives full screen to the game and its buttons; the
  // browser's SDL would ask for it only at some later key release, and resize the game's canvas.
  // The keys stop here, before the game, which listens further down.
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
    if (!event.repeat) {
      toggleFullScreen();
    }
  }, true);

  // The page already shows the game as large as the browser's window holds, so the desktop
  // game's keys for a larger or smaller window stop here; its canvas stays 640x480.
  window.addEventListener('keydown', function (event) {
    if (event.key === 'PageUp' || event.key === 'PageDown' ||
        (event.location === KeyboardEvent.DOM_KEY_LOCATION_NUMPAD &&
         (event.key === '+' || event.key === '-'))) {
      event.stopImmediatePropagation();
    }
  }, true);

  // A key press as the game reads it: the browser's old key numbers, which a made-up event must
  // be given by hand.
  var CODES = {ArrowLeft: 37, ArrowRight: 39, ' ': 32, Enter: 13, Backspace: 8};
  function sendKey(type, key) {
    var code = CODES[key] || key.toUpperCase().charCodeAt(0);
    var event = new KeyboardEvent(type, {key: key, bubbles: true, cancelable: true});
    var charCode = type === 'keypress' ? key.charCodeAt(0) : 0;
    Object.defineProperty(event, 'keyCode', {value: type === 'keypress' ? charCode : code});
    Object.defineProperty(event, 'which', {value: type === 'keypress' ? charCode : code});
    Object.defineProperty(event, 'charCode', {value: charCode});
    canvas.dispatchEvent(event);
  }

  var running = false;
  function focusGame() {
    canvas.focus({preventScroll: true});
  }
  // The game hears the keyboard only while it has the focus (its layer sees to that): a click or
  // a tap on the game gives it the keys again.
  canvas.addEventListener('pointerdown', focusGame);
  canvas.addEventListener('mousedown', focusGame);
  // Back in the window, the keys go where they went before; to the game if nothing had them.
  window.addEventListener('focus', function () {
    if (running && (!document.activeElement || document.activeElement === document.body)) {
      focusGame();
    }
  });
  function showKeysAway() {
    keysAway.hidden = !running || touchPlay() || document.activeElement === canvas;
  }
  document.addEventListener('focusin', showKeysAway);
  document.addEventListener('focusout', function () {
    setTimeout(showKeysAway, 0);
  });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    loading.hidden = true;
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
  // Told of every start of the game, and of its end.
  var onStart = [];
  var onEnd = [];

  function runs() {
    say(notice, !!notice);
    notice = '';
    loading.hidden = true;
    running = true;
    showKeysAway();
    focusGame();
    onStart.forEach(function (tell) {
      tell();
    });
  }

  function ended() {
    running = false;
    showKeysAway();
    onEnd.forEach(function (tell) {
      tell();
    });
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
  }

  // The one instance of the game for the whole visit: each run after the first starts inside it,
  // so that nothing of an ended run stays behind (its listeners, its sound, its memory).
  var game = null;

  function start(replay) {
    watching = !!replay;
    if (game) {
      if (replay) {
        game.FS.writeFile(WATCHED, replay);
      }
      game.restartGame(replay ? WATCHED : '');
      runs();
      return;
    }
    game = window.Module = {
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
        runs();
        keepForOffline();
      },
      onGameEnd: ended,
      onAbort: function (what) {
        running = false;
        loading.hidden = true;
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

  // Playing again starts the game afresh in the same instance, from its menu.
  again.addEventListener('click', function () {
    again.hidden = true;
    start();
  });

  // What touch play needs of the page: the game's keys, and word of each start and end.
  window.arcadePage = {
    sendKey: sendKey,
    focusGame: focusGame,
    fit: fit,
    watching: function () {
      return watching;
    },
    onStart: function (tell) {
      onStart.push(tell);
    },
    onEnd: function (tell) {
      onEnd.push(tell);
    }
  };

  var script = document.createElement('script');
  script.src = 'arcade.js';
  script.onload = startOrWatch;
  script.onerror = function () {
    loading.hidden = true;
    say('The game could not be loaded from the server.', true);
  };
  document.body.appendChild(script);
})();
