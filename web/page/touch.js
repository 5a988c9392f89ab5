// Touch play: buttons around the game and a text field for the name, each feeding the game the
// same key presses a keyboard would. Shown only where the device has touch.
(function () {
  'use strict';

  var panel = document.getElementById('touch');
  var canvas = document.getElementById('screen');
  var field = document.getElementById('name');
  if (!(navigator.maxTouchPoints > 0 || 'ontouchstart' in window)) {
    return;
  }
  panel.hidden = false;
  document.documentElement.classList.add('touch');
  window.dispatchEvent(new Event('resize'));  // the page fits the game to what is left

  // The game reads the browser's old key numbers, which a made-up event must be given by hand.
  var CODES = {ArrowLeft: 37, ArrowRight: 39, ' ': 32, Enter: 13, p: 80, Backspace: 8};

  function send(type, key) {
    var code = CODES[key] || key.toUpperCase().charCodeAt(0);
    var event = new KeyboardEvent(type, {key: key, bubbles: true, cancelable: true});
    var charCode = type === 'keypress' ? key.charCodeAt(0) : 0;
    Object.defineProperty(event, 'keyCode', {value: type === 'keypress' ? charCode : code});
    Object.defineProperty(event, 'which', {value: type === 'keypress' ? charCode : code});
    Object.defineProperty(event, 'charCode', {value: charCode});
    canvas.dispatchEvent(event);
  }

  function press(key) {
    send('keydown', key);
    if (key.length === 1) {
      send('keypress', key);
    }
    send('keyup', key);
  }

  // Move buttons act while held, as the arrow keys do; the others press once per touch.
  Array.prototype.forEach.call(panel.querySelectorAll('button[data-key]'), function (button) {
    var key = button.getAttribute('data-key');
    var held = button.hasAttribute('data-hold');
    var down = false;
    function release() {
      if (down) {
        down = false;
        send('keyup', key);
      }
    }
    button.addEventListener('pointerdown', function (event) {
      event.preventDefault();
      if (!held) {
        press(key);
        return;
      }
      down = true;
      button.setPointerCapture(event.pointerId);
      send('keydown', key);
    });
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    button.addEventListener('contextmenu', function (event) {
      event.preventDefault();
    });
  });

  // The device's own keyboard types into the field; what changes there becomes key presses. Its
  // own key events stop at the field, for a phone's keyboard sends no usable key numbers.
  var typed = '';
  ['keydown', 'keypress', 'keyup'].forEach(function (type) {
    field.addEventListener(type, function (event) {
      event.stopPropagation();
      if (type === 'keydown' && event.key === 'Enter') {
        event.preventDefault();
        press('Enter');
      }
    });
  });
  field.addEventListener('input', function () {
    var now = field.value;
    var same = 0;
    while (same < typed.length && same < now.length && typed[same] === now[same]) {
      same++;
    }
    for (var i = typed.length; i > same; i--) {
      press('Backspace');
    }
    for (var j = same; j < now.length; j++) {
      press(now[j]);
    }
    typed = now;
  });
  // A new name starts from an empty field.
  field.addEventListener('focus', function () {
    field.value = '';
    typed = '';
  });
})();
