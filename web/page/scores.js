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
  // The site's table as last seen, listed at once on the next visit while the table is asked for.
  var LAST_TABLE = 'arcade-game.table';
  // Why the table did not take this browser's games, by their lines.
  var REFUSED = 'arcade-game.refused';
  var MOST_REFUSED = 50;
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
  // How often an open page asks for the table while it is seen, so that others' games show up.
  var LIVE_MS = window.arcadeLiveMs || 20000;
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
  var lastTable = null;  // the text of the table as last placed
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

  function remembered(key, fallback) {
    try {
      var kept = JSON.parse(window.localStorage.getItem(key));
      return kept === null ? fallback : kept;
    } catch (error) {
      return fallback;
    }
  }

  function remember(key, value) {
    try {
      window.localStorage.setItem(key, JSON.stringify(value));
    } catch (error) {
      // Remembered for this visit at most.
    }
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

  // Asks for a table, or for its rows, again: where the server tagged what it sent last time,
  // it answers "not modified" (304) with nothing more when nothing has changed.
  var tags = {};
  var lastAnswers = {};
  function fetchAgain(url) {
    var headers = {};
    if (tags[url] && lastAnswers[url] !== undefined) {
      headers['If-None-Match'] = tags[url];
    }
    return withTimeout(url, {cache: 'no-store', headers: headers}).then(function (answer) {
      if (answer.status === 304 && lastAnswers[url] !== undefined) {
        return {same: true, text: lastAnswers[url]};
      }
      var type = answer.headers.get('Content-Type') || '';
      if (!answer.ok) {
        return null;
      }
      return answer.text().then(function (text) {
        tags[url] = answer.headers.get('ETag');
        lastAnswers[url] = text;
        return {same: false, text: text, type: type};
      });
    });
  }

  // The table as the server's text, or null where there is none to be had.
  function fetchTable() {
    return fetchAgain(TABLE).then(function (answer) {
      if (answer === null || (!answer.same && answer.type.indexOf('text/plain') !== 0) ||
          !isTable(answer.text)) {
        return null;
      }
      return answer.text;
    }).catch(function () {
      return null;
    });
  }

  // This browser's own games: the lines of its own list, which every game stored here joins.
  function ownLines() {
    var FS = game && game.FS;
    if (!FS || !ownList) {
      return [];
    }
    try {
      return latin1(FS.readFile(ownList)).split('\n').filter(function (line) {
        return SCORE_LINE.test(line);
      });
    } catch (error) {
      return [];
    }
  }

  // Why one of this browser's games is not on the site's table, as its player would say it.
  function notListedBecause(line) {
    var waiting = readUnsent().some(function (replay) {
      return storedLine(toBytes(replay)) === line;
    });
    if (waiting) {
      return 'waits to go to the site\'s table';
    }
    return remembered(REFUSED, {})[line] || 'kept in this browser only';
  }

  var siteRows = [];

  // The site's table with this browser's own games among it, marked: those the table lists, and
  // those it does not, each where its points place it.
  function showRows() {
    var shown = siteRows.slice(0, ROWS_SHOWN).map(function (row) {
      return {line: scoreLine(row.points, row.name), id: row.id};
    });
    var own = ownLines();
    var listed = {};
    shown.forEach(function (row) {
      if (own.indexOf(row.line) >= 0) {
        row.own = 'yours';
        listed[row.line] = true;
      }
    });
    own.forEach(function (line) {
      if (!listed[line]) {
        listed[line] = true;
        var at = 0;
        while (at < shown.length && !ranksBelow(shown[at].line, line)) {
          at++;
        }
        shown.splice(at, 0, {line: line, own: 'yours, ' + notListedBecause(line)});
      }
    });
    rowList.textContent = '';
    shown.forEach(function (row) {
      var item = document.createElement('li');
      var score = document.createElement('span');
      score.textContent = row.line;
      item.appendChild(score);
      if (row.own) {
        item.className = 'own';
        var mark = document.createElement('span');
        mark.className = 'mark';
        mark.textContent = '(' + row.own + ')';
        item.appendChild(mark);
      }
      if (/^\d+$/.test(String(row.id))) {
        var watch = document.createElement('a');
        watch.href = '?watch=' + row.id;
        watch.textContent = 'Watch';
        watch.setAttribute('aria-label', 'Watch ' + row.line);
        item.appendChild(watch);
      }
      rowList.appendChild(item);
    });
    tableBox.hidden = shown.length === 0;
  }

  function fetchRows() {
    fetchAgain(ROWS).then(function (answer) {
      var rows = answer === null ? [] : JSON.parse(answer.text);
      siteRows = Array.isArray(rows) ? rows : [];
      showRows();
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
    listFile(SITE_SCORES);
  }

  // Has the game list the file from now on, where it has started listing one.
  function listFile(file) {
    var FS = game && game.FS;
    if (FS && FS.analyzePath(LISTED).exists && FS.readlink(LISTED) !== file) {
      FS.unlink(LISTED);
      FS.symlink(file, LISTED);
    }
  }

  // The table out of reach. An open page that listed it goes on showing it as it last was.
  function fallBack() {
    var hadTable = siteAnswers;
    siteAnswers = false;
    if (!hadTable) {
      tableBox.hidden = true;
      if (ownList) {
        listFile(ownList);
      }
    }
    var waiting = hosted === false ? 0 : readUnsent().length;
    tell('Scores stay in this browser.' + (waiting ?
      ' ' + waiting + (waiting === 1 ? ' game waits' : ' games wait') +
      ' to go to the site\'s table when it can be reached.' : ''));
  }

  function reachTable(text) {
    siteAnswers = true;
    retryMs = FIRST_RETRY_MS;
    lastTable = text;
    remember(LAST_TABLE, text);
    placeTable(text);
    tell('');
    fetchRows();
  }

  // While the page is seen, the table is asked for again now and then, and whenever the page is
  // seen again: others' games show up, and a table that was out of reach comes back by itself.
  var live = null;
  function keepLive() {
    if (live !== null) {
      clearTimeout(live);
    }
    live = setTimeout(refresh, LIVE_MS);
  }

  function refresh() {
    live = null;
    if (hosted === false) {
      return;
    }
    if (document.visibilityState !== 'visible' || sending) {
      keepLive();
      return;
    }
    // A page that came from the browser's cache while the server was away does not know yet
    // whether its site has a table at all: it asks that first, as at its start.
    var table = hosted === true ? fetchTable() : hostedWithTable().then(function (withTable) {
      return withTable ? fetchTable() : null;
    });
    table.then(function (text) {
      if (hosted === false) {
        fallBack();
        return;
      }
      if (text === null) {
        if (siteAnswers) {
          fallBack();
        }
      } else if (!siteAnswers || text !== lastTable) {
        reachTable(text);
        sendUnsent();
      }
      keepLive();
    });
  }
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'visible' && game) {
      refresh();
    }
  });

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
        refused(storedLine(toBytes(replay)), answer.status,
                answer.text.split('\n')[0].slice(0, 200));
        showRows();
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

  // Said where the player looks, over the game, in a player's words; the line stays in this
  // browser's own list and among the site's table on the page, marked with why.
  function refused(line, status, reason) {
    var copy = /listed already: (.*)$/.exec(reason);
    var said;
    var why;
    if (status === 409 && copy) {
      said = 'This exact game is on the table already as ' + copy[1] + ', so the table did ' +
             'not take it again as ' + line + '. It stays in this browser\'s own list.';
      why = 'the same game is on the table as ' + copy[1];
    } else {
      said = 'The site\'s table did not take your game ' + line + ': ' + reason +
             '. It stays in this browser\'s own list.';
      why = 'not taken: ' + reason;
    }
    tell(said, true);
    if (window.arcadePage) {
      window.arcadePage.tell(said);
    }
    var all = remembered(REFUSED, {});
    all[line] = why;
    var lines = Object.keys(all);
    lines.slice(0, Math.max(0, lines.length - MOST_REFUSED)).forEach(function (old) {
      delete all[old];
    });
    remember(REFUSED, all);
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
    // The table last seen is listed at once, so that the menu waits for no network; the
    // table as it is now takes its place when it comes.
    join: function (module) {
      var table = hostedWithTable().then(function (hosted) {
        return hosted ? fetchTable() : null;
      });
      module.chooseScores = function (own, use) {
        game = module;
        ownList = own;
        watchStores(module.FS);
        var last = remembered(LAST_TABLE, null);
        var waited = typeof last !== 'string' || !isTable(last);
        if (!waited) {
          placeTable(last);
          use(SITE_SCORES);
        }
        table.then(function (text) {
          if (text === null) {
            fallBack();
            if (waited) {
              use(own);
            }
            tryLater();
          } else {
            reachTable(text);
            if (waited) {
              use(SITE_SCORES);
            }
            sendUnsent();
          }
          keepLive();
        });
      };
    },

    // A kept game's replay from the server; rejects when it cannot be had.
    replay: function (id) {
      return fetch(REPLAYS + encodeURIComponent(id), {cache: 'no-store'}).then(function (answer) {
        if (!answer.ok) {
          var error = new Error('the server answered ' + answer.status);
          error.status = answer.status;
          throw error;
        }
        return answer.arrayBuffer();
      }).then(function (buffer) {
        return new Uint8Array(buffer);
      });
    }
  };
})();
