// The page around the game: its size, the keyboard focus, the loading line, the one game of the
// visit and playing it again, and what to say when the game cannot run here.
(function () {
  'use strict';

  // The game's files as the page names them, each with its digest.
  var GAME_FILES = document.currentScript.getAttribute('data-game').split(' ');
  var WIDTH = 640;
  var HEIGHT = 480;
  // Device pixels to a game pixel from which the game is enlarged by whole pixels first.
  var SHARP_FROM = 1.5;
  var canvas = document.getElementById('screen');
  var view = document.getElementById('view');
  var stage = document.getElementById('stage');
  var frame = document.getElementById('frame');
  var status = document.getElementById('status');
  var loading = document.getElementById('loading');
  var loadingText = document.getElementById('loading-text');
  var progress = document.getElementById('progress');
  var keysAway = document.getElementById('keys-away');
  var told = document.getElementById('told');
  var updateNote = document.getElementById('update-note');
  var again = document.getElementById('again');
  var muteButtons = document.querySelectorAll('.mute');
  var fullButtons = document.querySelectorAll('.full');

  function say(text, trouble) {
    status.textContent = text;
    status.className = trouble ? 'trouble' : '';
    if (!loading.hidden) {
      loadingText.textContent = text;
    }
  }

  // What the player must read now, said over the game where the player looks; gone at the next
  // key the game takes once it has been there a while, or when the next game starts.
  var TOLD_LEAST_MS = 4000;
  var toldAt = -Infinity;
  function tell(text) {
    told.textContent = text;
    told.hidden = !text;
    toldAt = performance.now();
  }
  canvas.addEventListener('keydown', function () {
    if (!told.hidden && performance.now() - toldAt >= TOLD_LEAST_MS) {
      tell('');
    }
  });

  function touchPlay() {
    return document.documentElement.classList.contains('touch');
  }

  var sharp = false;
  var copying = false;
  var viewContext = null;
  // How large the player asked the game to be (PgUp, PgDn): at most this scale; none for as
  // large as the window holds.
  var largest = 0;

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

  // The size and the layout come from layout.js, which set them once before the first paint.
  function fit() {
    var fitted = window.arcadeLayout.fit(document.fullscreenElement === stage, largest);
    var scale = fitted.scale;
    // Whole device pixels to a game pixel before the smooth step down, where a game pixel gets
    // enough device pixels for its edges to show; with fewer, the smooth drawing alone is as
    // sharp, and spares the copy of every frame.
    var pixels = scale * (window.devicePixelRatio || 1);
    var enlarge = Math.ceil(pixels - 1e-9);
    sharp = !fitted.whole && pixels >= SHARP_FROM;
    canvas.classList.toggle('shrunk', !fitted.whole && !sharp);
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
    return scale;
  }
  // A phone turned tells of it in more than one event, some before its window has its new size:
  // fitted again once the browser has laid the page out anew.
  function refit() {
    fit();
    requestAnimationFrame(fit);
  }
  window.addEventListener('resize', refit, {passive: true});
  window.addEventListener('orientationchange', refit, {passive: true});
  document.addEventListener('fullscreenchange', refit);
  fit();

  // The whole game in the window, as it is whenever it has the keys: a button below it that
  // took the focus may have scrolled the page.
  function inView() {
    var box = frame.getBoundingClientRect();
    if (box.top < 0 || box.left < 0 || box.bottom > window.innerHeight ||
        box.right > document.documentElement.clientWidth) {
      var gap = parseFloat(getComputedStyle(stage).marginTop) || 0;
      window.scrollTo(0, Math.max(0, box.top + window.scrollY - gap));
    }
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function () {});
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function () {});
    }
  }
  Array.prototype.forEach.call(fullButtons, function (button) {
    button.addEventListener('click', function () {
      toggleFullScreen();
      focusGame();
    });
  });

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

  // The desktop game's keys for a larger or smaller window size the game on the page instead, by
  // whole enlargements, up to as large as the window holds; its canvas stays 640x480.
  window.addEventListener('keydown', function (event) {
    var numpad = event.location === KeyboardEvent.DOM_KEY_LOCATION_NUMPAD;
    var larger = event.key === 'PageUp' || (numpad && event.key === '+');
    var smaller = event.key === 'PageDown' || (numpad && event.key === '-');
    if (!larger && !smaller) {
      return;
    }
    event.stopImmediatePropagation();
    if (event.target !== canvas || event.repeat || document.fullscreenElement) {
      return;
    }
    event.preventDefault();
    var most = window.arcadeLayout.measure(false, 0).scale;
    var now = window.arcadeLayout.measure(false, largest).scale;
    if (larger) {
      var next = Math.floor(now + 1e-9) + 1;
      largest = next < most ? next : 0;
    } else {
      largest = Math.max(1, Math.min(Math.ceil(now - 1e-9) - 1, now));
    }
    fit();
    inView();
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
  // What the player is told over the game once it runs.
  var notice = '';
  // Told of every start of the game, and of its end.
  var onStart = [];
  var onEnd = [];

  function runs() {
    say('');
    tell(notice);
    notice = '';
    loading.hidden = true;
    running = true;
    showKeysAway();
    focusGame();
    inView();
    onStart.forEach(function (hear) {
      hear();
    });
  }

  function ended() {
    running = false;
    showKeysAway();
    onEnd.forEach(function (hear) {
      hear();
    });
    if (newerBuild) {
      updateNow();
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

  // Which of the game's screens shows now, told by its pictures: a screen that shows its picture
  // at nine in ten of a spread of points is that screen, whatever text lies over it.
  var SAMPLES = [];
  for (var y = 12; y < HEIGHT; y += 57) {
    for (var x = 10; x < WIDTH; x += 79) {
      SAMPLES.push([x, y]);
    }
  }
  var pictures = {};  // the samples of each screen's picture, once the game has loaded them
  var gameContext = null;
  var sampled = null;
  var sampledAt = -Infinity;

  function samplesOf(context) {
    return SAMPLES.map(function (point) {
      var pixel = context.getImageData(point[0], point[1], 1, 1).data;
      return (pixel[0] << 16) | (pixel[1] << 8) | pixel[2];
    });
  }

  function loadPicture(name) {
    var FS = game && game.FS;
    if (!FS || !window.createImageBitmap || pictures[name] !== undefined) {
      return;
    }
    pictures[name] = null;
    var bytes;
    try {
      bytes = FS.readFile('/play/' + name);
    } catch (error) {
      return;  // a game without the picture shows no such screen to tell
    }
    createImageBitmap(new Blob([bytes], {type: 'image/png'})).then(function (bitmap) {
      var copy = document.createElement('canvas');
      copy.width = bitmap.width;
      copy.height = bitmap.height;
      var context = copy.getContext('2d', {willReadFrequently: true});
      context.drawImage(bitmap, 0, 0);
      pictures[name] = samplesOf(context);
    }).catch(function () {});
  }

  function showing(name) {
    var picture = pictures[name];
    if (!picture) {
      loadPicture(name);
      return false;
    }
    // The game's canvas keeps the context it was first asked for, one quick to read. Looks at
    // several screens in one moment read it once.
    gameContext = gameContext || canvas.getContext('2d', {willReadFrequently: true});
    if (performance.now() - sampledAt > 5) {
      sampled = samplesOf(gameContext);
      sampledAt = performance.now();
    }
    var now = sampled;
    var same = 0;
    for (var i = 0; i < picture.length; i++) {
      same += picture[i] === now[i] ? 1 : 0;
    }
    return same >= 0.9 * picture.length;
  }
  onStart.push(function () {
    ['menu.png', 'gameover.png', 'showscorebg.png'].forEach(loadPicture);
  });

  // The one instance of the game for the whole visit: each run after the first starts inside it,
  // so that nothing of an ended run stays behind (its listeners, its sound, its memory).
  var game = null;
  var locateFile = null;

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
      locateFile: locateFile,
      setStatus: function (text) {
        // Emscripten reports "Downloading data... (loaded/total)" while the data comes in.
        var parts = /\((\d+(\.\d+)?)\/(\d+)\)/.exec(text || '');
        // How far, in the bar: a line of text that grew with it would be drawn anew, larger,
        // until the whole game had come.
        if (parts) {
          progress.value = Math.round(100 * parts[1] / parts[3]);
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
      notice = error.status === 404 ?
        'That game is not on the site\'s table, so it cannot be watched.' :
        'That game cannot be watched just now: the site\'s table did not answer.';
      start();
    });
  }

  // A new build: the page itself always comes from the server first, so a new visit has it at
  // once. A page already open learns of it when the new build's worker takes over; it says so,
  // and loads the new build at the game's next menu, or once the game has ended, so that no
  // game in progress is lost.
  var newerBuild = false;
  var UPDATE_CHECK_MS = window.arcadeUpdateCheckMs || 600000;
  var MENU_LOOK_MS = 500;
  function updateNow() {
    location.reload();
  }
  function updateAtMenu() {
    if (running && showing('menu.png') && !document.fullscreenElement) {
      updateNow();
      return;
    }
    setTimeout(updateAtMenu, MENU_LOOK_MS);
  }
  // Whether the worker now in charge keeps every file of this page as this page has it: a page
  // that came from the server as that worker took over is of its build already.
  function ofThisBuild() {
    var mine = GAME_FILES.map(function (file) {
      return new URL(file, location.href).href;
    });
    Array.prototype.forEach.call(document.querySelectorAll('link[rel=stylesheet], script[src]'),
      function (named) {
        mine.push(named.href || named.src);
      });
    return caches.keys().then(function (names) {
      var kept = names.filter(function (name) {
        return name.indexOf('arcade-game-') === 0;
      });
      return kept.length === 1 && caches.open(kept[0]).then(function (cache) {
        return Promise.all(mine.map(function (address) {
          return cache.match(address);
        }));
      }).then(function (found) {
        return found.every(Boolean);
      });
    }).catch(function () {
      return false;
    });
  }
  function newBuildReady() {
    if (newerBuild) {
      return;
    }
    newerBuild = true;
    updateNote.textContent = 'A new version is ready: it comes at the next menu.';
    updateNote.hidden = false;
    if (!running) {
      return;
    }
    // Not at once, whatever shows: the player reads the note first.
    setTimeout(updateAtMenu, 4 * MENU_LOOK_MS);
  }
  if (navigator.serviceWorker && navigator.serviceWorker.controller) {
    navigator.serviceWorker.addEventListener('controllerchange', function () {
      ofThisBuild().then(function (same) {
        if (!same) {
          newBuildReady();
        }
      });
    });
  }
  // An open page asks now and then whether the site has a newer build, as a new visit would.
  function checkForUpdate() {
    if (document.visibilityState === 'visible' && navigator.serviceWorker) {
      navigator.serviceWorker.getRegistration().then(function (registration) {
        return registration && registration.update();
      }).catch(function () {});
    }
  }
  setInterval(checkForUpdate, UPDATE_CHECK_MS);

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
    if (newerBuild) {
      updateNow();
      return;
    }
    start();
  });

  // The page's buttons for the keys a mouse or a finger has no other way to: M and full screen.
  // The game has the keys again after each. M is a letter of a name too, and then no sound key.
  var muted = false;
  function showMuted() {
    Array.prototype.forEach.call(muteButtons, function (button) {
      button.setAttribute('aria-pressed', String(muted));
    });
  }
  Array.prototype.forEach.call(muteButtons, function (button) {
    button.addEventListener('click', function () {
      if (running && !showing('gameover.png')) {
        sendKey('keydown', 'm');
        sendKey('keypress', 'm');
        sendKey('keyup', 'm');
      }
      focusGame();
    });
  });
  canvas.addEventListener('keydown', function (event) {
    if ((event.key === 'm' || event.key === 'M') && !event.repeat && !event.ctrlKey &&
        !event.altKey && !event.metaKey && !showing('gameover.png')) {
      muted = !muted;
      showMuted();
    }
  });
  onStart.push(function () {
    muted = false;
    showMuted();
  });

  // What touch play needs of the page: the game's keys, word of each start and end, and which
  // of the game's screens shows.
  window.arcadePage = {
    sendKey: sendKey,
    focusGame: focusGame,
    fit: fit,
    showing: showing,
    tell: tell,
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

  function versioned(file) {
    return GAME_FILES.filter(function (named) {
      return named.indexOf(file + '?') === 0;
    })[0] || file;
  }
  locateFile = function (file, prefix) {
    return file === 'arcade.wasm' || file === 'arcade.data' ? versioned(file) : prefix + file;
  };

  // The game's three files asked for together, once the page has shown: the page's own first,
  // which the game's far larger ones would otherwise hold up on a slow network.
  function loadGame() {
    ['arcade.wasm', 'arcade.data'].forEach(function (file) {
      var ahead = document.createElement('link');
      ahead.rel = 'preload';
      ahead.as = 'fetch';
      ahead.crossOrigin = 'anonymous';
      if (file === 'arcade.wasm') {
        ahead.type = 'application/wasm';
      }
      ahead.href = versioned(file);
      document.head.appendChild(ahead);
    });
    var script = document.createElement('script');
    script.src = versioned('arcade.js');
    script.onload = startOrWatch;
    script.onerror = function () {
      loading.hidden = true;
      say('The game could not be loaded from the server.', true);
    };
    document.body.appendChild(script);
  }
  requestAnimationFrame(function () {
    setTimeout(loadGame, 0);
  });
})();
