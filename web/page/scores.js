// The site's own high-score table, where the page is hosted with one: the game lists it, every
// stored game's replay goes to the server, which proves it and files its score, and every game on
// the table can be watched. Hosted as plain files, or with the server out of reach, the game keeps
// this browser's own list as it always has, and the page says so below the game.
(function () {
  'use strict';

  var TABLE = 'api/scores';
  var ROWS = 'api/scores.json';
  var REPLAYS = 'api/replays/';
  // The replay of every stored game, oldest first, until the server has answered for it.
  var UNSENT = 'arcade-game.unsent';
  // The site's table is the game's list while the server answers; it lives only for the visit.
  var SITE_FOLDER = '/site';
  var SITE_SCORES = SITE_FOLDER + '/highscore.txt';
  var LISTED = '/play/highscore.txt';
  // Storing a score ends with the game's replay kept under this name.
  var LAST_GAME = '/play/last.replay';
  // The game waits this long for the table before it lists its own.
  var TABLE_WAIT_MS = 4000;
  // Waits between tries while the server cannot be reached, longer each time up to the most. A
  // test may ask for a shorter first wait.
  var FIRST_RETRY_MS = window.arcadeFirstRetryMs || 30000;
  var MOST_RETRY_MS = 600000;
  // What the server says of a game that can never go into the table: not a replay, too large,
  // not sent as one, not proven. Anything else may pass another time.
  // 409: the table lists this very game already (maybe sent from another page), so it has
  // found its line and sending it again would only be told so again.
  var REFUSED_FOR_GOOD = [400, 409, 413, 415, 422];
  // As many rows as the game's list screen shows.
  var ROWS_SHOWN = 28;
  // Every line of a table is one of the game's: points, " points - ", the name.
  var SCORE_LINE = /^\d+ points - [^\n]*$/;

  var note = document.getElementById('scores-note');
  var tableBox = document.getElementById('table');
  var rowList = document.getElementById('rows');

  var game = null;  // the running game's module
  var ownList = null;  // this browser's own list, in the game's saved folder
  var siteAnswers = false;
  // Whether the page came with the server: unknown until asked. Hosted as plain files, there is
  // no table to wait for, and no game is kept for one.
  var hosted = null;
  var sending = false;
  var retry = null;
  var retryMs = FIRST_RETRY_MS;
  var unsentHere = [];  // where the browser keeps no local storage

  function tell(text, trouble) {
    note.textContent = text;
    note.hidden = !text;
    note.classList.toggle('trouble', !!trouble);
  }

  function readUnsent() {
    try {
      var kept = JSON.parse(window.localStorage.getItem(UNSENT) || '[]');
      return Array.isArray(kept) ? kept : [];
    } catch (error) {
      return unsentHere;
    }
  }

  function writeUnsent(list) {
    unsentHere = list;
    try {
      window.localStorage.setItem(UNSENT, JSON.stringify(list));
    } catch (error) {
      // Kept for this visit only.
    }
  }

  function toText(bytes) {
    return btoa(latin1(bytes));
  }

  function toBytes(text) {
    var chars = atob(text);
    var bytes = new Uint8Array(chars.length);
    for (var i = 0; i < chars.length; i++) {
      bytes[i] = chars.charCodeAt(i);
    }
    return bytes;
  }

  function isTable(text) {
    return text.split('\n').every(function (line, i, lines) {
      return SCORE_LINE.test(line) || (line === '' && i === lines.length - 1);
    });
  }

  function withTimeout(url, options) {
    var stop = new AbortController();
    var timer = setTimeout(function () {
      stop.abort();
    }, TABLE_WAIT_MS);
    options.signal = stop.signal;
    return fetch(url, options).finally(function () {
      clearTimeout(timer);
    });
  }

  // The score server sends its Content-Security-Policy with every file. A page without one is
  // hosted as plain files, where asking for the table would only fill the console with a 404.
  function hostedWithTable() {
    return withTimeout('./', {cache: 'no-cache'}).then(function (page) {
      var policy = page.headers.get('Content-Security-Policy') || '';
      hosted = policy.indexOf("connect-src 'self'") >= 0;
      return hosted;
    }, function () {
      // The page itself out of reach: whatever hosts it, nothing is known of a table.
      return hosted !== false;
    });
  }

  // The table as the server's text, or null where there is none to be had.
  function fetchTable() {
    return withTimeout(TABLE, {cache: 'no-store'}).then(function (answer) {
      var type = answer.headers.get('Content-Type') || '';
      if (!answer.ok || type.indexOf('text/plain') !== 0) {
        return null;
      }
      return answer.text().then(function (text) {
        return isTable(text) ? text : null;
      });
    }).catch(function () {
      return null;
    });
  }

  function showRows(rows) {
    rowList.textContent = '';
    rows.slice(0, ROWS_SHOWN).forEach(function (row) {
      var item = document.createElement('li');
      var score = document.createElement('span');
      score.textContent = scoreLine(row.points, row.name);
      item.appendChild(score);
      if (/^\d+$/.test(String(row.id))) {
        var watch = document.createElement('a');
        watch.href = '?watch=' + row.id;
        watch.textContent = 'Watch';
        item.appendChild(watch);
      }
      rowList.appendChild(item);
    });
    tableBox.hidden = rows.length === 0;
  }

  function fetchRows() {
    fetch(ROWS, {cache: 'no-store'}).then(function (answer) {
      return answer.ok ? answer.json() : [];
    }).then(function (rows) {
      showRows(Array.isArray(rows) ? rows : []);
    }).catch(function () {});
  }

  // Puts the site's table where the game lists it; the game reads its list afresh every time it
  // shows it or stores a score.
  function placeTable(text) {
    var FS = game && game.FS;
    if (!FS) {
      return;
    }
    FS.mkdirTree(SITE_FOLDER);
    FS.writeFile(SITE_SCORES, text);
    if (FS.analyzePath(LISTED).exists && FS.readlink(LISTED) !== SITE_SCORES) {
      FS.unlink(LISTED);
      FS.symlink(SITE_SCORES, LISTED);
    }
  }

  function fallBack() {
    siteAnswers = false;
    tableBox.hidden = true;
    var waiting = hosted === false ? 0 : readUnsent().length;
    tell('Scores stay in this browser.' + (waiting ?
      ' ' + waiting + (waiting === 1 ? ' game waits' : ' games wait') +
      ' to go to the site\'s table when it can be reached.' : ''));
  }

  function reachTable(text) {
    siteAnswers = true;
    retryMs = FIRST_RETRY_MS;
    placeTable(text);
    tell('');
    fetchRows();
  }

  function tryLater() {
    if (retry === null && hosted !== false && readUnsent().length) {
      retry = setTimeout(function () {
        retry = null;
        reconnect();
      }, retryMs);
      retryMs = Math.min(2 * retryMs, MOST_RETRY_MS);
    }
  }

  // One game at a time, oldest first; each leaves the list only once the server has answered
  // for it, so none is lost and none is sent twice (the server also ignores a game it has).
  function sendUnsent() {
    var unsent = readUnsent();
    if (sending || !siteAnswers || !unsent.length) {
      return;
    }
    sending = true;
    var replay = unsent[0];
    fetch(TABLE, {
      method: 'POST',
      headers: {'Content-Type': 'application/octet-stream'},
      body: toBytes(replay),
      cache: 'no-store'
    }).then(function (answer) {
      return answer.text().then(function (text) {
        return {status: answer.status, text: text};
      });
    }).then(function (answer) {
      sending = false;
      var kept = answer.status === 200 || answer.status === 201;
      if (kept && isTable(answer.text)) {
        forget(replay);
        reachTable(answer.text);
        sendUnsent();
      } else if (REFUSED_FOR_GOOD.indexOf(answer.status) >= 0) {
        // Sent again it would be refused again.
        forget(replay);
        tell('The site\'s table did not take a game: ' +
             answer.text.split('\n')[0].slice(0, 200), true);
        sendUnsent();
      } else {
        // Busy, or too many games at once: the server is there and takes it later.
        tell('The site\'s table cannot take a game just now: it waits in this browser.');
        tryLater();
      }
    }, function () {
      sending = false;
      fallBack();
      tryLater();
    });
  }

  function forget(replay) {
    writeUnsent(readUnsent().filter(function (kept) {
      return kept !== replay;
    }));
  }

  function keep(bytes) {
    var replay = toText(bytes);
    var unsent = readUnsent();
    if (unsent.indexOf(replay) < 0) {
      unsent.push(replay);
      writeUnsent(unsent);
    }
  }

  function reconnect() {
    hostedWithTable().then(function (hosted) {
      return hosted ? fetchTable() : null;
    }).then(function (text) {
      if (text === null) {
        fallBack();
        tryLater();
      } else {
        reachTable(text);
        sendUnsent();
      }
    });
  }

  // The line a replay's game stored: its points (two digits at least), " points - ", its name.
  // A replay begins with its magic, format and version, the draws and name before the game, and
  // then the points and the name, numbers seven bits a byte and texts one byte of length first.
  function storedLine(bytes) {
    var at = 5;
    function number() {
      var value = 0;
      for (var shift = 0; at < bytes.length; shift += 7) {
        var byte = bytes[at++];
        value += (byte & 0x7F) * Math.pow(2, shift);
        if (!(byte & 0x80)) {
          break;
        }
      }
      return value;
    }
    function text() {
      var length = bytes[at++];
      at += length;
      return latin1(bytes.subarray(at - length, at));
    }
    text();
    number();
    text();
    var points = number();
    return scoreLine(points, text());
  }

  // A line as the game writes it: the points in two digits at least.
  function scoreLine(points, name) {
    return (points < 10 ? '0' : '') + points + ' points - ' + name;
  }

  function latin1(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i++) {
      text += String.fromCharCode(bytes[i]);
    }
    return text;
  }

  // The game's order: two lines that begin with digits by the points those make, at any length;
  // equal points, and any other pair, by their bytes.
  function ranksBelow(a, b) {
    var pointsA = /^\d*/.exec(a)[0].replace(/^0+/, '');
    var pointsB = /^\d*/.exec(b)[0].replace(/^0+/, '');
    if (!/^\d/.test(a) || !/^\d/.test(b) || pointsA === pointsB) {
      return a < b;
    }
    return pointsA.length !== pointsB.length ? pointsA.length < pointsB.length : pointsA < pointsB;
  }

  // A game stored in the site's table goes into this browser's own list too, which the game
  // lists whenever the site's table cannot be reached, as it would have had it stored there.
  function addToOwnList(FS, line) {
    var lines = latin1(FS.readFile(ownList)).split('\n');
    if (lines[lines.length - 1] === '') {
      lines.pop();
    }
    lines.push(line);
    lines.sort(function (a, b) {
      return ranksBelow(b, a) ? -1 : ranksBelow(a, b) ? 1 : 0;
    });
    var text = lines.join('\n') + '\n';
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; i++) {
      bytes[i] = text.charCodeAt(i);
    }
    // Renamed into the saved folder, which has it kept.
    FS.writeFile(ownList + '.new', bytes);
    FS.rename(ownList + '.new', ownList);
  }

  // Every store ends with the game's replay renamed into place: it goes to the server from here.
  function watchStores(FS) {
    var rename = FS.rename;
    FS.rename = function (from, to) {
      rename(from, to);
      var path = to;
      try {
        path = FS.lookupPath(to, {follow: false}).path;
      } catch (error) {
        return;
      }
      if (path !== LAST_GAME) {
        return;
      }
      var replay = FS.readFile(LAST_GAME);
      if (hosted !== false) {
        keep(replay);
      }
      if (FS.readlink(LISTED) === SITE_SCORES) {
        addToOwnList(FS, storedLine(replay));
      }
      // After the game's frame, which is still storing.
      setTimeout(afterStore, 0);
    };
  }

  // Every store is a try at once, and the tries after it start again from the shortest wait.
  function afterStore() {
    if (hosted === false) {
      fallBack();
      return;
    }
    if (retry !== null) {
      clearTimeout(retry);
      retry = null;
    }
    retryMs = FIRST_RETRY_MS;
    if (siteAnswers) {
      sendUnsent();
    } else {
      reconnect();
    }
  }

  window.addEventListener('online', reconnect);

  window.arcadeScores = {
    // Called once, before the visit's instance of the game runs: the table is asked for at once,
    // and the game is handed it, or its own list, before it can show either.
    join: function (module) {
      var table = hostedWithTable().then(function (hosted) {
        return hosted ? fetchTable() : null;
      });
      module.chooseScores = function (own, use) {
        game = module;
        ownList = own;
        watchStores(module.FS);
        table.then(function (text) {
          if (text === null) {
            fallBack();
            use(own);
            tryLater();
            return;
          }
          reachTable(text);
          use(SITE_SCORES);
          sendUnsent();
        });
      };
    },

    // A kept game's replay from the server; rejects when it cannot be had.
    replay: function (id) {
      return fetch(REPLAYS + encodeURIComponent(id), {cache: 'no-store'}).then(function (answer) {
        if (!answer.ok) {
          throw new Error('the server answered ' + answer.status);
        }
        return answer.arrayBuffer();
      }).then(function (buffer) {
        return new Uint8Array(buffer);
      });
    }
  };
})();
