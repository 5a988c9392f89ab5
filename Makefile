# The two commands of the README, and a few more for developers.
#   make run     install what is missing, build, stage the play folder and start the game
#   make test    install what is missing, build, run the whole suite, then again under sanitizers
#   make bench   build and run the benchmarks
#   make fuzz    run each fuzz target for FUZZ_SECONDS (clang and libFuzzer, in its own build)
#   make pictures / make screenshots   redraw assets/ / retake docs/
#   make clean   remove the builds (the play folder and its high scores stay)
#   make install [PREFIX=...] / make uninstall   install under PREFIX (/usr/local) / remove it again
#   make package  the Debian package in build-package/, checked by lintian

BUILD_DIR    := build
SANITIZE_DIR := build-sanitize
BENCH_DIR    := build-bench
FUZZ_DIR     := build-fuzz
FUZZ_SECONDS := 60
PLAY_DIR     := run
JOBS         := $(shell nproc 2>/dev/null || echo 2)
CONFIGURE    := cmake -S . -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX       ?= /usr/local
PACKAGE_DIR  := build-package

.PHONY: run test bench fuzz pictures screenshots clean stage install uninstall package

run:
	tools/install-deps build
	$(CONFIGURE) -B $(BUILD_DIR) -DARCADE_TESTS=OFF -DARCADE_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target arcade-game
	$(MAKE) --no-print-directory stage
	cd $(PLAY_DIR) && ../$(BUILD_DIR)/arcade-game

# The game reads everything from its working directory: the pictures, the font as arial.ttf and
# highscore.txt, which is never touched here so that it outlives rebuilds and make clean.
stage:
	mkdir -p $(PLAY_DIR)
	cp -f assets/*.png $(PLAY_DIR)/
	ln -sfn "$$(grep '^ARCADE_FONT_FILE:' $(BUILD_DIR)/CMakeCache.txt | cut -d= -f2)" $(PLAY_DIR)/arial.ttf

test:
	tools/install-deps test
	$(CONFIGURE) -B $(BUILD_DIR) -DARCADE_TESTS=ON -DARCADE_WERROR=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target all arcade-pictures
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(CONFIGURE) -B $(SANITIZE_DIR) -DARCADE_TESTS=ON -DARCADE_SANITIZE=ON -DARCADE_WERROR=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target all arcade-pictures
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

install:
	tools/install-deps build
	$(CONFIGURE) -B $(BUILD_DIR) -DARCADE_TESTS=OFF -DARCADE_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	xargs -r -d '\n' rm -f -- <$(BUILD_DIR)/install_manifest.txt
	-rmdir $(PREFIX)/lib/games/arcade-game $(PREFIX)/share/games/arcade-game \
	    $(PREFIX)/share/doc/arcade-game 2>/dev/null

# Built with Debian's own hardening flags, less their -Werror=...: a user's build never stops at a
# warning.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package:
	tools/install-deps package
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=None -DARCADE_TESTS=OFF -DARCADE_WERROR=OFF \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS | sed 's/-Werror[^ ]*//g') $$(dpkg-buildflags --get CPPFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	rm -f $(PACKAGE_DIR)/arcade-game_*.deb
	cd $(PACKAGE_DIR) && cpack
	lintian $(PACKAGE_DIR)/arcade-game_*.deb

bench:
	tools/install-deps test
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DARCADE_TESTS=OFF -DARCADE_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	cd $(BENCH_DIR) && ./bench/arcade-bench

fuzz:
	tools/install-deps fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DARCADE_TESTS=OFF -DARCADE_FUZZ=ON -DARCADE_WERROR=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz-highscore fuzz-name_entry
	tests/fuzz/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

pictures:
	tools/install-deps test
	$(CONFIGURE) -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target pictures

screenshots:
	tools/install-deps test
	tools/screenshots/take-screenshots

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR) $(PACKAGE_DIR) $(FUZZ_DIR)
