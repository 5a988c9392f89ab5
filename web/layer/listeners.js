// The browser's SDL, run before main: without the listeners the game has no use for, and with
// its audio opened ahead of the game's start. The game takes only keys, focus and the gamepad
// (src/engine/UsedEvents.h): SDL's listeners for the mouse, touch and the wheel on the game's
// canvas would only make the browser wait for them before it scrolls the page, and its unload
// listener, which runs one more frame as the page goes, keeps the page from the browser's back
// and forward cache and is on its way out of browsers.
(function () {
  var UNUSED_ON_CANVAS = ['touchstart', 'touchend', 'touchmove', 'mousedown', 'mouseup',
                          'mousemove', 'DOMMouseScroll', 'mousewheel', 'wheel', 'mouseout'];

  function leaveOut(target, unused) {
    var add = target.addEventListener;
    target.addEventListener = function (type, listener) {
      if (listener === SDL.receiveEvent && unused.indexOf(type) >= 0) {
        return;
      }
      return add.apply(this, arguments);
    };
  }

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    // The game opens its audio as it starts, and a browser may take a while over that: done in
    // a moment of its own beforehand, the start is no longer one long wait for the page.
    setTimeout(function () {
      SDL.openAudioContext();
    }, 0);
    if (Module['canvas']) {
      leaveOut(Module['canvas'], UNUSED_ON_CANVAS);
    }
    leaveOut(window, ['unload']);
  });
})();
