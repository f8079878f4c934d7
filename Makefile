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

# The Debian package, built with Debian's hardening flags and checked by lintian;
# then the installed tree in a throwaway prefix.
PACKAGE_BUILD ?= build-package
package: deps
	@scripts/install-deps.sh package
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_BUILD_TESTS=OFF \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@rm -f $(PACKAGE_BUILD)/quillmark_*.deb
	@cd $(PACKAGE_BUILD) && cpack -G DEB >/dev/null
	@lintian --fail-on error $(PACKAGE_BUILD)/quillmark_*.deb
	@scripts/check-install.sh $(PACKAGE_BUILD)
	@ls $(PACKAGE_BUILD)/quillmark_*.deb

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
