# The two commands of the README, and a few more for developers.
#   make run     install what is missing, build, stage the play folder and start the game
#   make test    install what is missing, build, run the whole suite, then again under sanitizers
#   make bench   build and run the benchmarks
#   make fuzz    run each fuzz target for FUZZ_SECONDS (clang and libFuzzer, in its own build)
#   make soak    play SOAK_FRAMES frames at random, as built and under the sanitizers
#   make pictures / make sounds / make screenshots   redraw assets/ / retake docs/
#   make clean   remove the builds (the play folder and its high scores stay)
#   make install [PREFIX=...] / make uninstall   install under PREFIX (/usr/local) / remove it again
#   make package  the Debian packages arcade-game and arcade-scores in build-package/, checked by
#                 lintian
#   make web / make web-run   build the browser version into build-web/site / serve it and its
#                             high-score table locally (on port 8000, or PORT=)

BUILD_DIR    := build
SANITIZE_DIR := build-sanitize
BENCH_DIR    := build-bench
FUZZ_DIR     := build-fuzz
FUZZ_SECONDS := 60
SOAK_FRAMES  := 1000000
HEADLESS     := SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
PLAY_DIR     := run
# The player's settings, where the installed game keeps them too. Until they hold a scale of the
# player's own, the window is as large as the desktop holds.
SETTINGS     := $(if $(filter /%,$(XDG_CONFIG_HOME)),$(XDG_CONFIG_HOME),$(HOME)/.config)/arcade-game/settings
JOBS         := $(shell nproc 2>/dev/null || echo 2)
CONFIGURE    := cmake -S . -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The score server's table in PostgreSQL too, wherever the whole server is tested or shipped.
POSTGRES     := -DARCADE_POSTGRES=ON
PREFIX       ?= /usr/local
PACKAGE_DIR  := build-package
WEB_DIR      := build-web
# make web-run serves the browser version on this port: make web-run PORT=8080
PORT         ?= 8000
# Debian's Emscripten finds its JavaScript parser among the system's node modules.
WEB_CONFIGURE := NODE_PATH=/usr/share/nodejs emcmake cmake -S web -B $(WEB_DIR)

.PHONY: run test bench fuzz soak pictures sounds screenshots clean stage install uninstall package \
        web web-run web-test web-test-if-possible

run:
	tools/install-deps build
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=OFF -DARCADE_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target arcade-game
	$(MAKE) --no-print-directory stage
	cd $(PLAY_DIR) && ../$(BUILD_DIR)/arcade-game --settings "$(SETTINGS)" \
	    $$([ -f "$(SETTINGS)" ] && grep -Eqsi "^($$(printf '\357\273\277'))?[[:space:]]*scale[[:space:]]*=" \
	        "$(SETTINGS)" || echo --scale auto)

# The game reads everything from its working directory: the pictures, the font as arial.ttf and
# highscore.txt, which is never touched here so that it outlives rebuilds and make clean.
stage:
	mkdir -p $(PLAY_DIR)
	cp -f assets/*.png assets/*.wav $(PLAY_DIR)/
	ln -sfn "$$(grep '^ARCADE_FONT_FILE:' $(BUILD_DIR)/CMakeCache.txt | cut -d= -f2)" $(PLAY_DIR)/arial.ttf

test:
	tools/install-deps test
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=ON -DARCADE_WERROR=ON $(POSTGRES)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory web-test-if-possible
	$(CONFIGURE) -B $(SANITIZE_DIR) -DBUILD_TESTING=ON -DARCADE_SANITIZE=ON -DARCADE_WERROR=ON \
	    $(POSTGRES)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

install:
	tools/install-deps build
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=OFF -DARCADE_WERROR=OFF $(POSTGRES)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	xargs -r -d '\n' rm -f -- <$(BUILD_DIR)/install_manifest.txt
	-rmdir $(PREFIX)/lib/games/arcade-game $(PREFIX)/share/games/arcade-game \
	    $(PREFIX)/share/doc/arcade-game $(PREFIX)/share/doc/arcade-scores/examples/nginx \
	    $(PREFIX)/share/doc/arcade-scores/examples $(PREFIX)/share/doc/arcade-scores \
	    $(PREFIX)/share/arcade-scores/nginx $(PREFIX)/share/arcade-scores/site \
	    $(PREFIX)/share/arcade-scores 2>/dev/null

# Built with Debian's own hardening flags, whole: their -Werror=format-security stops a build
# whose formats could be taken from outside, as it should.
# The score server's package carries the browser version, which make web builds first.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package: web
	tools/install-deps package
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF -DARCADE_WERROR=OFF \
	    $(POSTGRES) -DARCADE_SITE=$(CURDIR)/$(WEB_DIR)/site \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	rm -f $(PACKAGE_DIR)/arcade-game_*.deb $(PACKAGE_DIR)/arcade-scores_*.deb
	cd $(PACKAGE_DIR) && cpack
	lintian $(PACKAGE_DIR)/arcade-game_*.deb $(PACKAGE_DIR)/arcade-scores_*.deb

bench:
	tools/install-deps test
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DARCADE_BENCH=ON \
	    $(POSTGRES)
	cmake --build $(BENCH_DIR) -j $(JOBS)
	cd $(BENCH_DIR) && ./bench/arcade-bench
	bench/whole/run $(BENCH_DIR)
	bench/scores/run $(BENCH_DIR)
	$(MAKE) --no-print-directory web
	/usr/bin/python3 bench/page/load_time.py $(WEB_DIR)/site $(BENCH_DIR)/arcade-scores assets

fuzz:
	tools/install-deps fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DBUILD_TESTING=OFF -DARCADE_FUZZ=ON -DARCADE_WERROR=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz-highscore fuzz-name_entry fuzz-replay_file \
	  fuzz-posted_replay
	tests/fuzz/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

# As built, the resident size must stay flat (with the heap's mmap threshold fixed, as in make
# test); under the sanitizers it says nothing (freed memory is held back on purpose), and what
# counts there is that no finding stops the run.
soak:
	tools/install-deps test
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=ON -DARCADE_WERROR=ON $(POSTGRES)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target arcade-soak
	cd $(BUILD_DIR) && $(HEADLESS) MALLOC_MMAP_THRESHOLD_=131072 tests/soak/arcade-soak $(SOAK_FRAMES)
	$(CONFIGURE) -B $(SANITIZE_DIR) -DBUILD_TESTING=ON -DARCADE_SANITIZE=ON -DARCADE_WERROR=ON \
	    $(POSTGRES)
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target arcade-soak
	cd $(SANITIZE_DIR) && $(HEADLESS) LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  tests/soak/arcade-soak $(SOAK_FRAMES) 9 0

pictures:
	tools/install-deps test
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target pictures

sounds:
	tools/install-deps test
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target sounds

screenshots:
	tools/install-deps test
	tools/screenshots/take-screenshots

# The browser version: one folder of static files, $(WEB_DIR)/site, for any web server.
web:
	tools/install-deps web
	$(WEB_CONFIGURE) -DARCADE_WERROR=OFF
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_DIR) -j $(JOBS) --target site

# The page served by the score server, with one table for everyone who plays it, kept in the play
# folder beside the desktop game's scores.
web-run: web
	tools/install-deps build
	$(CONFIGURE) -B $(BUILD_DIR) -DBUILD_TESTING=OFF -DARCADE_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target arcade-scores
	mkdir -p $(PLAY_DIR)
	@echo "The game and its high-score table: http://localhost:$(PORT)/ (scores kept in $(PLAY_DIR)/scores.sqlite; Ctrl+C stops)"
	$(BUILD_DIR)/arcade-scores --port $(PORT) --site $(WEB_DIR)/site --db sqlite:$(PLAY_DIR)/scores.sqlite

# A missing browser toolchain is no pass: said loudly, and in CI (CI=true) a failure.
web-test-if-possible:
	@missing=""; \
	command -v emcc >/dev/null || missing="Emscripten (emcc)"; \
	command -v chromium >/dev/null || missing="$${missing:+$$missing and }Chromium"; \
	if [ -z "$$missing" ]; then \
		$(MAKE) --no-print-directory web-test; \
	else \
		echo "*****************************************************************" >&2; \
		echo "THE BROWSER TESTS DID NOT RUN: no $$missing here" >&2; \
		echo "*****************************************************************" >&2; \
		[ "$$CI" != true ]; \
	fi

# The browser tests; the whole scripted game is compared with the desktop build's, and the page is
# audited by Lighthouse and axe-core, installed from npm at the versions web/audit's lockfile pins.
web-test:
	cd web/audit && npm ci --no-audit --no-fund --loglevel=error
	$(WEB_CONFIGURE) -DARCADE_WEB_TESTS=ON -DARCADE_WERROR=ON -DARCADE_DESKTOP_TESTS=$(CURDIR)/$(BUILD_DIR)/tests/arcade-tests \
	    -DARCADE_SCORES_SERVER=$(CURDIR)/$(BUILD_DIR)/arcade-scores
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_DIR) -j $(JOBS)
	cd $(WEB_DIR) && ctest --output-on-failure

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR) $(PACKAGE_DIR) $(FUZZ_DIR) \
	      $(WEB_DIR)
