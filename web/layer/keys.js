// The game's keys, run before main. The browser's SDL listens on the game's canvas rather than on
// the whole document, so the game hears keys only while it has the keyboard's focus, and Enter and
// Space on the page's buttons and links are theirs. Of the keys pressed on the game it takes only
// those it answers: Tab and the browser's own shortcuts go on as the page has them, so that Tab
// leaves the game.
(function () {
  var canvas = Module['canvas'];
  if (!canvas) {
    return;
  }
  Module['keyboardListeningElement'] = canvas;

  // What the game answers: moving and firing, Enter, Escape, pause, mute, the list's watch key,
  // the window's size and full screen (which the page takes over), and a name's letters, digits,
  // spaces and Backspace.
  var ANSWERED = /^(Arrow(Left|Right|Up|Down)|Enter|Escape|Backspace|F11|PageUp|PageDown|Spacebar|[ a-zA-Z0-9+-])$/;
  // Arrows and Space would also scroll the page under the game.
  var SCROLL_KEYS = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', ' ', 'Spacebar'];

  function answered(event) {
    if (event.ctrlKey || event.metaKey) {
      return false;
    }
    return event.altKey ? event.key === 'Enter' : ANSWERED.test(event.key);
  }

  // The keys held on the game, by their code: let go of when the game loses the focus, as the
  // keyup would then go elsewhere and the cannon would move on by itself.
  var held = {};

  // On the canvas itself and first, before SDL's own listener there.
  function filter(event) {
    if (!answered(event)) {
      event.stopImmediatePropagation();
      return;
    }
    if (event.type === 'keydown') {
      if (SCROLL_KEYS.indexOf(event.key) >= 0) {
        // Space then brings no keypress, and SDL gives it its own key code, 32, as the character.
        event.preventDefault();
      }
      // A held key repeats in the browser but not on the desktop, where one press fires one
      // bullet.
      if (event.repeat) {
        event.stopImmediatePropagation();
        return;
      }
      held[event.keyCode] = event.key;
      // SDL gives a keydown its character from the keypress that follows, and a frame that takes
      // the keydown first would type the bare key: "a" for Shift+A. The character is known now.
      if (event.key.length === 1) {
        event.keypressCharCode = event.key.charCodeAt(0);
      }
    } else if (event.type === 'keyup') {
      delete held[event.keyCode];
    }
  }
  ['keydown', 'keypress', 'keyup'].forEach(function (type) {
    canvas.addEventListener(type, filter, true);
  });

  canvas.addEventListener('blur', function () {
    var codes = Object.keys(held);
    var keys = held;
    held = {};
    codes.forEach(function (code) {
      var release = new KeyboardEvent('keyup', {key: keys[code], bubbles: true});
      Object.defineProperty(release, 'keyCode', {value: Number(code)});
      Object.defineProperty(release, 'which', {value: Number(code)});
      canvas.dispatchEvent(release);
    });
  });
})();
