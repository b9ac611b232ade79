# make run   - install what is missing, build, start the game
# make test  - install what is missing, build, run every test
# make build - build only
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES := cmake make g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool \
            imagemagick clang libclang-rt-14-dev python3-pil fonts-dejavu-core

.PHONY: all deps configure build run test sanitize soak bench fuzz art install clean

all: build

# Installs the Debian packages the build and the tests need, once, without asking.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
	  $$sudo apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/squeakrun

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole test suite again, built with the address and undefined-behaviour sanitizers.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSQUEAKRUN_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ctest --output-on-failure -j$(JOBS)

art:
	/usr/bin/python3 tools/art/generate.py

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),$(CURDIR)/dist)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
