// Touch play: buttons around the game and a field for the name, each feeding the game the same
// key presses a keyboard would. Shown only where the device has touch.
(function () {
  'use strict';

  var field = document.getElementById('name');
  var hints = document.getElementById('hints');
  var pause = document.getElementById('pause');
  var replay = document.getElementById('replay');
  var page = window.arcadePage;
  // Where the device has touch, layout.js said so before the page's first paint, and the
  // buttons showed from the start.
  if (!document.documentElement.classList.contains('touch') || !page) {
    return;
  }

  // The game's name entry, as its own rules have it: these characters, no space first, at most
  // this long. The field holds exactly what the game holds.
  var LONGEST_NAME = 17;
  var NAME_CHARACTER = /^[A-Za-z0-9 ]$/;
  // A Fire still being tapped when the cannon is hit must not become part of the name.
  var FIRE_QUIET_MS = 500;

  function press(key) {
    page.sendKey('keydown', key);
    if (key.length === 1) {
      page.sendKey('keypress', key);
    }
    page.sendKey('keyup', key);
  }

  // What the game holds as the name: what the field typed into it, since the game's start.
  var gameName = '';
  var naming = false;  // the game waits for a name
  var confirmed = false;  // and has it; the next Enter stores the score
  var namingSince = -Infinity;
  var running = false;

  function startNaming() {
    naming = true;
    confirmed = false;
    namingSince = performance.now();
    field.disabled = false;
    field.value = gameName;
    field.focus({preventScroll: true});
    // The caret after the name, where typing goes on.
    field.setSelectionRange(gameName.length, gameName.length);
  }

  function stopNaming() {
    var hadFocus = document.activeElement === field;
    naming = false;
    field.disabled = true;
    if (hadFocus) {
      page.focusGame();
    }
  }

  var looking = false;  // one look at the screen at a time, however many runs start
  function watchScreens() {
    if (!running) {
      looking = false;
      return;
    }
    var overGame = page.showing('gameover.png');
    if (overGame && !naming && !confirmed && !page.watching()) {
      startNaming();
    } else if (!overGame && (naming || confirmed)) {
      confirmed = false;
      stopNaming();
    }
    hints.hidden = !page.showing('menu.png');
    // The list's R, which plays its best game, in place of Pause, which the list has no use for.
    var list = page.showing('showscorebg.png');
    replay.hidden = !list;
    pause.hidden = list;
    setTimeout(watchScreens, 50);
  }

  page.onStart(function () {
    running = true;
    gameName = '';
    naming = confirmed = false;
    field.value = '';
    if (!looking) {
      looking = true;
      watchScreens();
    }
  });
  page.onEnd(function () {
    running = false;
    hints.hidden = true;
    replay.hidden = true;
    pause.hidden = false;
    stopNaming();
  });

  function confirmName() {
    press('Enter');
    if (naming) {
      // The game drops spaces after a name as it confirms it.
      gameName = gameName.replace(/ +$/, '');
      field.value = gameName;
      confirmed = true;
      stopNaming();
    }
  }

  // Move buttons act while held, as the arrow keys do; the others press once per touch.
  Array.prototype.forEach.call(document.querySelectorAll('.pad button[data-key]'),
    function (button) {
      var key = button.getAttribute('data-key');
      var held = button.hasAttribute('data-hold');
      var down = false;
      function release() {
        if (down) {
          down = false;
          page.sendKey('keyup', key);
        }
      }
      button.addEventListener('pointerdown', function (event) {
        event.preventDefault();
        if (key === 'Enter') {
          confirmName();
          return;
        }
        // Space and P are letters of the name: Fire and Pause never type them, least of all
        // Fire in the moment after the cannon is hit.
        if (key.length === 1 && (naming || performance.now() - namingSince < FIRE_QUIET_MS)) {
          return;
        }
        if (!held) {
          press(key);
          return;
        }
        down = true;
        button.setPointerCapture(event.pointerId);
        page.sendKey('keydown', key);
      });
      button.addEventListener('pointerup', release);
      button.addEventListener('pointercancel', release);
      button.addEventListener('contextmenu', function (event) {
        event.preventDefault();
      });
    });

  // The name as the game would take it from these characters typed in turn.
  function asTyped(text) {
    var name = '';
    for (var i = 0; i < text.length && name.length < LONGEST_NAME; i++) {
      var c = text[i];
      if (NAME_CHARACTER.test(c) && !(c === ' ' && name === '')) {
        name += c;
      }
    }
    return name;
  }

  // The device's own keyboard types into the field; every change there, however it came (a
  // key, a paste, a correction, a selection typed over), goes to the game as the Backspaces and
  // letters that turn its name into the field's. Its own key events stop at the field, for a
  // phone's keyboard sends no usable key numbers.
  ['keydown', 'keypress', 'keyup'].forEach(function (type) {
    field.addEventListener(type, function (event) {
      event.stopPropagation();
      if (type === 'keydown' && event.key === 'Enter') {
        event.preventDefault();
        confirmName();
      }
    });
  });
  field.addEventListener('input', function () {
    if (!naming) {
      field.value = gameName;
      return;
    }
    var now = asTyped(field.value);
    if (now !== field.value) {
      var caret = field.selectionStart;
      field.value = now;
      caret = Math.min(caret === null ? now.length : caret, now.length);
      field.setSelectionRange(caret, caret);
    }
    var same = 0;
    while (same < gameName.length && same < now.length && gameName[same] === now[same]) {
      same++;
    }
    for (var i = gameName.length; i > same; i--) {
      press('Backspace');
    }
    for (var j = same; j < now.length; j++) {
      press(now[j]);
    }
    gameName = now;
  });
})();
