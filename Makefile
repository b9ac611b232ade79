# make run   - install what is missing, build, start the game
# make test  - install what is missing, build, run every test
# make build - build only
# make mutate - plant slips in the rules and the computer driver and report the ones the fast tests miss
# make tournament - the computer drivers' tournament, one table
# make same-game - the scenarios and a small tournament from GCC and from Clang, compared
BUILD ?= build
CLANG_BUILD ?= build-clang
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
SOAK_HOURS ?= 24
SOAK_SEED ?= 1
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
PACKAGES := cmake make g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool \
            imagemagick clang clang-format libclang-rt-14-dev python3-pil fonts-dejavu-core ccache \
            qt6-multimedia-dev pulseaudio pulseaudio-utils sox libxcb1-dev libxkbcommon-dev libsdl2-dev \
            x11-xserver-utils libenet-dev
# Warnings stop the developers' and CI's builds (make test), never a player's (make run, make build on a
# fresh checkout): the next compiler release may warn about code that still works. The setting stays
# with the build folder, so make run after make test keeps warnings as errors and rebuilds nothing;
# make build WERROR=OFF turns them back into warnings.
WERROR ?=
# The one sanitizer build (address and undefined behaviour) that make test, make sanitize and make soak share.
ASAN_CONFIGURE := cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSQUEAKRUN_SANITIZE=ON -DSQUEAKRUN_GUI=OFF \
                  -DSQUEAKRUN_WERROR=ON

# Only for make realtime: the two-player game its CPU figure is set beside (large, so not for make test).
REALTIME_PACKAGES := ksnakeduel dbus-daemon

.PHONY: all deps deps-realtime install-packages configure build run test format screenshots sanitize soak bench realtime fuzz art sounds install clean mutate tournament same-game netplay

all: build

# Installs the Debian packages the build and the tests need, once, without asking.
deps:
	@$(MAKE) --no-print-directory install-packages LIST="$(PACKAGES)"

deps-realtime:
	@$(MAKE) --no-print-directory install-packages LIST="$(REALTIME_PACKAGES)"

install-packages:
	@missing=""; for p in $(LIST); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
	  $$sudo apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(WERROR),-DSQUEAKRUN_WERROR=$(WERROR))

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/squeakrun

# Every test (the format and layer checks among them) with warnings as errors, then every test of the
# game's core again in the sanitizer build, and the same game from the other compiler.
test: WERROR := ON
test: build sanitize same-game
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The same game from GCC and from Clang: the runner and the tournament built with Clang alone (no
# window, no tests), then every scenario file, dumped at each step, and a small tournament compared
# line for line with the everyday build's. A few minutes on a fresh machine, seconds from the cache.
same-game: build
	cmake -S . -B $(CLANG_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSQUEAKRUN_GUI=OFF -DSQUEAKRUN_WERROR=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(CLANG_BUILD) -j$(JOBS) --target squeakrun-script squeakrun-tournament
	bash tools/house/same_game.sh $(BUILD) $(CLANG_BUILD)

# The core's tests built with the address and undefined-behaviour sanitizers.
sanitize: deps
	$(ASAN_CONFIGURE)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# Formats every C++ file of the project with .clang-format; make test fails on a file left unformatted.
format: deps
	git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | xargs clang-format -i

# A day of game time (SOAK_HOURS) played by two random players in the sanitizer build, checked every 10 ms.
soak: deps
	$(ASAN_CONFIGURE)
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target squeakrun-soak
	./$(ASAN_BUILD)/bench/squeakrun-soak $(SOAK_HOURS) $(SOAK_SEED)

# The timedemo (game seconds per wall second over an hour of play) and the tick benchmarks.
bench: build
	./$(BUILD)/bench/squeakrun-timedemo
	./$(BUILD)/bench/squeakrun-bench

# The computer drivers' tournament: TOURNAMENT_GAMES games a pairing (sides swapped for half), played
# headless on the exact clock from fixed seeds, summed up in one table; marks a missed goal MISSED.
TOURNAMENT_GAMES ?= 200
tournament: build
	./$(BUILD)/bench/squeakrun-tournament $(TOURNAMENT_GAMES)

# Network games between two machines on real sockets through the misbehaving relay, at round trips of 0
# to 300 ms, with and without loss, all at once on the wall clock (about three minutes): the felt delay
# of a player's own key, rollbacks, their depth, a frame's cost, waiting, bytes a second, games that went
# apart; then 100 games of two minutes at 150 ms with loss, checked for games apart.
NETPLAY_GAMES ?= 3
netplay: build
	./$(BUILD)/bench/squeakrun-netplay $(NETPLAY_GAMES)

# The game window's real-time figures (ticks on time, key to screen, frame cost, CPU driving, waiting and
# paused, memory, a cue to its sound): three runs of 15 s on one virtual X server with the sound on and a
# sound server of its own, each followed by the floor (a bare widget driving two boxes) and KSnakeDuel
# driven the same way for their CPU beside ours, with medians. A measurement: it marks PASS or MISS,
# never fails.
# make realtime COMPUTER=hard has the computer drive player 2 at that skill (easy, average, hard).
COMPUTER ?=
REALTIME_ARGS = $(if $(COMPUTER),--computer $(COMPUTER))
realtime: build deps-realtime
	@if command -v xvfb-run >/dev/null; then \
	  bench/realtime/with-null-sink.sh xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
	    ./$(BUILD)/bench/realtime/squeakrun-realtime --peer $(CURDIR)/bench/realtime/peer-ksnakeduel.sh \
	    $(REALTIME_ARGS); \
	else \
	  echo "xvfb-run not found: running offscreen, without the peer"; \
	  QT_QPA_PLATFORM=offscreen bench/realtime/with-null-sink.sh ./$(BUILD)/bench/realtime/squeakrun-realtime \
	    $(REALTIME_ARGS); \
	fi

# Each libFuzzer target for FUZZ_SECONDS, growing a working corpus from fuzz/corpus; findings land in
# $(FUZZ_BUILD)/findings (turn one into a scenario with $(FUZZ_BUILD)/fuzz/scenario-from-bytes).
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSQUEAKRUN_GUI=OFF -DSQUEAKRUN_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_rtf fuzz_scenario fuzz_play fuzz_net scenario-from-bytes
	for t in rtf scenario play net; do \
	  mkdir -p $(FUZZ_BUILD)/work/$$t $(FUZZ_BUILD)/findings && \
	  ./$(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$t- $(FUZZ_BUILD)/work/$$t fuzz/corpus/$$t || exit 1; \
	done

# The README's screenshot, taken by the end-to-end test from a real game played under Xvfb.
screenshots: build
	cd $(BUILD) && ctest -R '^e2e\.' --output-on-failure
	cp $(BUILD)/screenshots/game.png docs/screenshot.png

art:
	/usr/bin/python3 tools/art/generate.py

sounds:
	/usr/bin/python3 tools/sound/generate.py

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),$(CURDIR)/dist)

# The game as a Debian package, $(PACKAGE_BUILD)/squeakrun_VERSION_ARCH.deb, laid out like any desktop
# game: built alone in a folder of its own, hardened and stripped as Debian builds its packages.
# devscripts brings hardening-check for the package's test.
PACKAGE_BUILD ?= build-deb
PACKAGES += dpkg-dev file desktop-file-utils appstream lintian devscripts
.PHONY: package
package: deps
	bash packaging/build_package.sh $(PACKAGE_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD) $(CLANG_BUILD)

# Plants each slip of tools/mutate/slips.txt in the rules, one at a time, and reports the slips the fast
# tests (scenarios and unit tests) let through, with the kill rate. Its own build folder, so the
# everyday build stays as it is; about half an hour.
MUTATE_BUILD ?= build-mutate
mutate: deps
	cmake -S . -B $(MUTATE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSQUEAKRUN_GUI=OFF -DSQUEAKRUN_WERROR=ON
	cmake --build $(MUTATE_BUILD) -j$(JOBS) --target squeakrun-script unit_tests
	python3 tools/mutate/mutate.py $(MUTATE_BUILD)
