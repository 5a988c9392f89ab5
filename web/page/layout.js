// How the page is laid out, decided in the page's head before its first paint so that nothing on
// it moves once it shows: touch play or keys, the site's table beside the game or below it, and
// the game's size, from the window's size alone. page.js fits the game again whenever the window
// changes.
(function () {
  'use strict';

  var WIDTH = 640;
  var HEIGHT = 480;
  // A whole enlargement is kept while it fills at least this share of the room the game has;
  // below that the game fills the room, drawn smoothly.
  var WHOLE_FILLS = 0.8;
  var SMALLEST = 0.25;
  // Beside the game, where a window is wide enough to leave it this much room: the page's notes,
  // buttons and the site's table, so that none of them lies below the game.
  var SIDE_LEAST = 280;
  var SIDE_MOST = 440;
  var SIDE_SHARE = 0.25;

  var root = document.documentElement;
  root.classList.add('js');
  if (navigator.maxTouchPoints > 0 || 'ontouchstart' in window) {
    root.classList.add('touch');
  }

  function cssPixels(name) {
    return parseFloat(getComputedStyle(root).getPropertyValue(name)) || 0;
  }

  // The room left to the game by the page's own controls. Touch play keeps its buttons around
  // the game (upright: two rows of them and the name below it; on its side: a column either
  // side); a wide window keeps a column beside it.
  function room(full) {
    var width = full ? window.innerWidth : root.clientWidth;
    var height = window.innerHeight;
    var gap = cssPixels('--gap');
    var side = 0;
    if (root.classList.contains('touch')) {
      if (window.innerWidth > window.innerHeight) {
        width -= 2 * (cssPixels('--side') + gap);
      } else {
        height -= 2 * cssPixels('--pad') + cssPixels('--name-row') + 4 * gap;
      }
    } else if (!full) {
      side = Math.round(Math.min(SIDE_MOST, Math.max(SIDE_LEAST, SIDE_SHARE * width)));
      if (width - side - 3 * gap >= WIDTH) {
        width -= side + 3 * gap;
      } else {
        side = 0;
        width -= 2 * gap;
      }
      height -= 2 * gap;
    }
    return {width: Math.max(width, 0), height: Math.max(height, 0), side: side};
  }

  // The game's scale in the room it has, at most largest where that is given, whether the scale
  // is whole, and the width of the column beside it (0 for none).
  function measure(full, largest) {
    var space = room(full);
    var fits = Math.min(space.width / WIDTH, space.height / HEIGHT);
    var whole = Math.floor(fits);
    var scale = whole >= 1 && whole / fits >= WHOLE_FILLS ? whole : Math.max(fits, SMALLEST);
    if (largest > 0 && scale > largest) {
      scale = largest;
    }
    return {scale: scale, whole: scale === Math.floor(scale), side: space.side};
  }

  // Sets the game's size and the page's layout; tells what measure() does.
  function fit(full, largest) {
    var fitted = measure(full, largest);
    root.style.setProperty('--scale', String(fitted.scale));
    root.style.setProperty('--side-width', fitted.side + 'px');
    root.classList.toggle('wide', fitted.side > 0);
    return fitted;
  }

  window.arcadeLayout = {measure: measure, fit: fit};
  fit(false, 0);
})();
