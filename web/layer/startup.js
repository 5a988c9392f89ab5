// The browser half of the layer under the game, run before main: the play folder the game reads
// by bare file names, the high scores kept in the browser's storage, and the page's way to a new
// run of the game in this same instance.
(function () {
  var PLAY = '/play';
  var SAVED = '/saved';  // kept in IndexedDB across visits
  var SCORES = 'highscore.txt';
  var REPLAYS = 'replays';  // the replay of every stored score, kept with the scores

  Module['scoresKept'] = 0;

  // The sounds are decoded from the play folder when the game loads them. Preloaded as audio
  // elements, each would hold the program alive for ten seconds after the page loaded, and the
  // page would learn that the game has ended only then.
  Module['noAudioDecoding'] = true;

  // Whether a path names a place inside the saved folder, links followed: the play folder's
  // replays/ is a link into it.
  function inSaved(path) {
    try {
      var folder = FS.lookupPath(PATH.dirname(PATH_FS.resolve(path)), {follow: true}).path;
      return (folder + '/').indexOf(SAVED + '/') === 0;
    } catch (error) {
      return false;
    }
  }

  // Storing a score or a replay ends in a rename into the saved folder; copy the folder to
  // IndexedDB then.
  // Copies run one at a time, and a rename during one asks for another after it.
  var saving = false;
  var saveAgain = false;
  function keepScores() {
    if (saving) {
      saveAgain = true;
      return;
    }
    saving = true;
    FS.syncfs(false, function (error) {
      saving = false;
      if (error) {
        err('the high scores could not be kept: ' + error);
      } else {
        Module['scoresKept']++;
      }
      if (saveAgain) {
        saveAgain = false;
        keepScores();
      }
    });
  }

  function prepareScores() {
    FS.mkdir(SAVED);
    FS.mount(IDBFS, {}, SAVED);
    var rename = FS.rename;
    FS.rename = function (from, to) {
      rename(from, to);
      if (inSaved(to)) {
        keepScores();
      }
    };
    addRunDependency('scores');
    FS.syncfs(true, function (error) {
      if (error) {
        err('no high scores from earlier visits: ' + error);
      }
      // The game's file is a link into the saved folder. It must lead to a file: a dangling link
      // would be replaced by a plain file outside the saved folder on the first store.
      var saved = SAVED + '/' + SCORES;
      if (!FS.analyzePath(saved).exists) {
        FS.writeFile(saved, '');
      }
      var replays = SAVED + '/' + REPLAYS;
      if (!FS.analyzePath(replays).exists) {
        FS.mkdir(replays);
      }
      FS.symlink(replays, PLAY + '/' + REPLAYS);
      // A page hosted with a table for the whole site may have the game list that instead of
      // this browser's own: it is asked once the saved folder is in, and names the file.
      var choose = Module['chooseScores'] || function (own, use) {
        use(own);
      };
      choose(saved, function (file) {
        FS.symlink(file, PLAY + '/' + SCORES);
        removeRunDependency('scores');
      });
    });
  }

  // For the page: one instance of the game serves the whole visit. When a run ends (Escape, or a
  // watched game and the list after it), Module.onGameEnd() is called; Module.restartGame() then
  // starts a new run from the menu, and Module.restartGame(file) one that first watches the replay
  // in that file of the instance's file system (as the desktop's --replay does). Called while a
  // run is in progress, it ends that run first, without onGameEnd. A page without onGameEnd is
  // told of the end through onExit(0), as of an ended program.
  Module['restartGame'] = function (replayFile) {
    ccall('arcade_restart', null, ['number', 'string'], [Module['arcadeVisit'], replayFile || '']);
  };

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    FS.mkdirTree(PLAY);
    FS.chdir(PLAY);
    prepareScores();
  });
})();
