# Pendulab: `make run` and `make test` do all the set-up on a fresh Debian machine.
BUILD    ?= build
JOBS     ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps build run test package bench screenshot translations clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "Pendulab needs a display: none is set (DISPLAY is empty). On a machine without a screen, run: xvfb-run -a make run"; \
	  exit 1; \
	fi
	$(BUILD)/bin/pendulab

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, in $(BUILD): pendulab_<version>_<arch>.deb
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@for b in $(BUILD)/bin/pendulab*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b --benchmark_min_time=0.2 || exit 1; done

screenshot: build
	scripts/screenshot.sh $(BUILD)/bin/pendulab $(BUILD)/screens && cp $(BUILD)/screens/acquisition.png docs/screenshot.png

# Refreshes translations/*.ts from the sources (lupdate); fill the new texts in with Qt Linguist.
translations: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --target translations

clean:
	rm -rf $(BUILD)
