# The two commands a new user needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_WERROR=ON

.PHONY: all run test bench deps build package sanitize fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-window.sh $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/install-deps.sh bench
	@bench/run.sh

# The Debian packages (debian/), built by dpkg-buildpackage from a copy of the
# tree (running the tests) and checked by lintian; then the package's build
# installed into a throwaway prefix, the .deb installed, run from /usr and
# purged, and the package's autopkgtests run here by autopkgtest (as root).
# The override of a spelling false hit in machine code goes unused when the code
# changes, so lintian does not report unused overrides.
PACKAGE_BUILD ?= build-package
package: deps
	@scripts/install-deps.sh package
	@JOBS=$(JOBS) scripts/build-deb.sh $(PACKAGE_BUILD)
	@lintian --pedantic --display-info --fail-on error,warning,info,pedantic \
		--suppress-tags unused-override \
		$(PACKAGE_BUILD)/quillmark_*.dsc $(PACKAGE_BUILD)/quillmark_*.changes
	@scripts/check-install.sh $(PACKAGE_BUILD)/src/quillmark-*/obj-*
	@scripts/check-deb.sh $(PACKAGE_BUILD)/quillmark_*_$$(dpkg --print-architecture).deb
	@scripts/check-autopkgtest.sh $(PACKAGE_BUILD)

# The suite under the address and undefined-behaviour sanitizers.
sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_WERROR=ON \
		-DQUILLMARK_SANITIZE=ON >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS on a copy of its seed corpus (fuzz/corpus/),
# built with clang in build-fuzz/; fails on any finding.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh fuzz
	@cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DQUILLMARK_WERROR=ON -DQUILLMARK_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target quillmark_fuzzers
	@scripts/fuzz.sh build-fuzz $(FUZZ_SECONDS)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD) build-sanitize build-fuzz $(PACKAGE_BUILD)
