// The browser's canvases under the game, set up before main: lines of text laid over the picture
// as the desktop lays them, and canvases that are read from made quick to read.
(function () {
  // A line of text goes over what is beneath it as on the desktop: each colour moved towards
  // the line's by the line's alpha, (line - beneath) * alpha >> 8, a line's opaque pixels copied
  // and its clear ones left alone. The canvas's own compositing rounds otherwise, and a line would
  // differ from the desktop's in every pixel at its edges.
  function blendLinesAsDesktop() {
    var blit = SDL.blitSurface;
    SDL.blitSurface = function (src, srcrect, dst, dstrect, scale) {
      var line = SDL.surfaces[src];
      var onto = SDL.surfaces[dst];
      if (!line.blendAsDesktop || scale) {
        return blit.apply(SDL, arguments);
      }
      var from = srcrect ? SDL.loadRect(srcrect) : {x: 0, y: 0, w: line.width, h: line.height};
      var at = dstrect ? SDL.loadRect(dstrect) : {x: 0, y: 0};
      var clip = onto.clipRect || {x: 0, y: 0, w: onto.width, h: onto.height};
      var left = Math.max(at.x, clip.x, 0);
      var top = Math.max(at.y, clip.y, 0);
      var right = Math.min(at.x + Math.min(from.w, line.width - from.x), clip.x + clip.w,
                           onto.width);
      var bottom = Math.min(at.y + Math.min(from.h, line.height - from.y), clip.y + clip.h,
                            onto.height);
      var width = Math.max(0, right - left);
      var height = Math.max(0, bottom - top);
      if (dstrect) {
        SDL.updateRect(dstrect, {x: left, y: top, w: width, h: height});
      }
      if (width === 0 || height === 0) {
        return 0;
      }
      var image = onto.ctx.getImageData(left, top, width, height);
      var beneath = image.data;
      var pitch = line.width * 4;
      for (var y = 0; y < height; y++) {
        var source = line.buffer + (from.y + top - at.y + y) * pitch + (from.x + left - at.x) * 4;
        for (var x = 0, i = y * width * 4; x < width; x++, i += 4, source += 4) {
          var alpha = HEAPU8[source + 3];
          if (alpha === 255) {
            beneath[i] = HEAPU8[source];
            beneath[i + 1] = HEAPU8[source + 1];
            beneath[i + 2] = HEAPU8[source + 2];
          } else if (alpha !== 0) {
            beneath[i] += ((HEAPU8[source] - beneath[i]) * alpha) >> 8;
            beneath[i + 1] += ((HEAPU8[source + 1] - beneath[i + 1]) * alpha) >> 8;
            beneath[i + 2] += ((HEAPU8[source + 2] - beneath[i + 2]) * alpha) >> 8;
          }
        }
      }
      onto.ctx.putImageData(image, left, top);
      if (dst !== SDL.screen) {
        // As the browser's SDL does after every copy onto a surface other than the screen: the
        // surface's pixels in memory follow its canvas.
        _SDL_LockSurface(dst);
        onto.locked--;
      }
      return 0;
    };
  }

  // Every picture's pixels are read back once, as it is loaded, to make its key colour
  // transparent, and the game's own canvas under every line of text drawn on it. The browser keeps
  // a canvas that is read from in memory it can read quickly, if it is told so when the canvas is
  // made; untold, it warns in the console.
  function readableCanvases() {
    // The game's canvas keeps the context it was first asked for, also when the game is played
    // again in place.
    Module['canvas'].getContext('2d', {willReadFrequently: true});
    var createContext = Browser.createContext;
    Browser.createContext = function (canvas, useWebGL, setInModule) {
      if (useWebGL || setInModule || canvas === Module['canvas']) {
        return createContext.apply(Browser, arguments);
      }
      return canvas.getContext('2d', {willReadFrequently: true});
    };
  }

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    blendLinesAsDesktop();
    readableCanvases();
  });
})();
