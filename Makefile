# The two front doors: `make run` plays, `make test` runs every test.
BUILD := build
ASAN_BUILD := build-asan
WIN_BUILD := build-win
WEB_BUILD := build-web
JOBS := $(shell nproc)

.PHONY: run test check bench package windows check-windows web build build-asan deps test-deps \
	package-deps windows-deps web-deps clean

run: deps build
	$(BUILD)/clockmaze

# Every test twice: the release build, then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer. Before them, the rules,
# frame and asset tests of the Windows build under Wine; the release build's
# suite also tries the Windows release under Wine and plays the browser
# release in Chromium.
test: test-deps build build-asan check-windows web
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# The native suite alone, release build: no Windows, no browser.
check: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE "windows|web"

# Figures beside the library's own floor, the browser release's among them,
# and the Windows program's under Wine beside the Linux program's; timings
# never fail a build.
bench: test-deps build web windows
	./bench/run.sh $(BUILD) $(WEB_BUILD) $(WIN_BUILD)

# The Debian package: $(BUILD)/clockmaze_<version>_<arch>.deb.
package: package-deps build
	cmake --build $(BUILD) --target package

# The Windows release, cross-built from the same sources:
# $(WIN_BUILD)/clockmaze-<version>-win64.zip and -win64-setup.exe. The
# pictures, sounds and icon come from the native build's generator.
WIN_ARGS := -DCLOCKMAZE_ASSET_DIR=$(abspath $(BUILD))/assets \
	-DCLOCKMAZE_ICON=$(abspath $(BUILD))/icons/io.github.clockmaze.ClockMaze.ico
windows: windows-deps build
	cmake -S windows -B $(WIN_BUILD) $(WIN_ARGS)
	cmake --build $(WIN_BUILD) -j$(JOBS)

# The release as above, and the rules, frame and asset tests cross-built
# beside it (the libraries shared), run under Wine in one prefix on one
# virtual X server; their frames are held to those the native build drew.
check-windows: test-deps build
	cmake -S windows -B $(WIN_BUILD) $(WIN_ARGS) -DCLOCKMAZE_WINDOWS_TESTS=ON \
		-DCLOCKMAZE_FRAME_REFERENCE=$(abspath $(BUILD))/frame-reference.txt
	cmake --build $(WIN_BUILD) -j$(JOBS)
	cd $(WIN_BUILD)/game && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j$(JOBS)

# The browser release, from the same sources: $(WEB_BUILD)/site, the folder a
# web host serves, and $(WEB_BUILD)/clockmaze-<version>-web.zip of it. The
# pictures, sounds and icon come from the native build's generator.
web: web-deps build
	cmake -S web -B $(WEB_BUILD) -DCLOCKMAZE_ASSET_DIR=$(abspath $(BUILD))/assets \
		-DCLOCKMAZE_ICON=$(abspath $(BUILD))/icons/256x256/apps/io.github.clockmaze.ClockMaze.png
	cmake --build $(WEB_BUILD) -j$(JOBS)

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCLOCKMAZE_WINDOWS_BUILD=$(abspath $(WIN_BUILD)) \
		-DCLOCKMAZE_WEB_BUILD=$(abspath $(WEB_BUILD))
	cmake --build $(BUILD) -j$(JOBS)

build-asan:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCLOCKMAZE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)

deps:
	./tools/install-deps.sh run

test-deps:
	./tools/install-deps.sh test

package-deps:
	./tools/install-deps.sh package

windows-deps:
	./tools/install-deps.sh windows

web-deps:
	./tools/install-deps.sh web

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WIN_BUILD) $(WEB_BUILD)
