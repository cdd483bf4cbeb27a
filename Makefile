# The two front doors: `make run` plays, `make test` runs every test.
BUILD := build
ASAN_BUILD := build-asan
JOBS := $(shell nproc)

.PHONY: run test bench package build build-asan deps test-deps package-deps clean

run: deps build
	$(BUILD)/clockmaze

# Every test twice: the release build, then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer.
test: test-deps build build-asan
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# Figures beside the library's own floor; timings never fail a build.
bench: test-deps build
	./bench/run.sh $(BUILD)

# The Debian package: $(BUILD)/clockmaze_<version>_<arch>.deb.
package: package-deps build
	cmake --build $(BUILD) --target package

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
