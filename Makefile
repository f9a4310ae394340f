# Document Camera: `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench asan tsan test-asan test-tsan translations format format-check clean

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/document-camera

# Without a display the benchmarks paint on the offscreen platform. The memory figure comes
# from the live soak (a recording every 2 minutes, an unplug every 7, no picture or film
# visits) run after them for SOAK_MINUTES; `make bench SOAK_MINUTES=0` leaves it out.
SOAK_MINUTES ?= 30
bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benches
	@set -e; if [ -z "$$DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then export QT_QPA_PLATFORM=offscreen; fi; \
	echo "== load average at the start: $$(cut -d' ' -f1-3 /proc/loadavg)"; \
	for b in $(BUILD_DIR)/bin/bench_*; do echo "== $$b"; "$$b"; done; \
	if [ "$(SOAK_MINUTES)" != 0 ]; then \
	  echo "== scripts/soak.sh $(SOAK_MINUTES) 2 7 5 (memory, no visits)"; \
	  VISITS=0 BUILD_DIR=$(BUILD_DIR) scripts/soak.sh $(SOAK_MINUTES) 2 7 5; \
	fi; \
	echo "== load average at the end: $$(cut -d' ' -f1-3 /proc/loadavg)"

# Sanitizer builds live in their own trees.
test-asan:
	$(MAKE) test BUILD_DIR=build-asan CMAKE_FLAGS="-DDOCCAM_SANITIZE=address -DCMAKE_BUILD_TYPE=Debug"

# ThreadSanitizer watches the tests whose code runs on several threads (label "threads").
test-tsan: deps
	cmake -S . -B build-tsan -DDOCCAM_SANITIZE=thread -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-tsan -j $(JOBS) --target threading_tests
	cd build-tsan && ctest -L threads --output-on-failure -j $(JOBS)

# Brings the translation sources up to date with the texts in the code; fill in the new
# entries afterwards (the translation test fails on unfinished ones).
translations:
	lupdate -locations none -no-obsolete src -ts $(foreach l,zh-tw de es fr ja ru,resources/translations/VOREN_$(l).ts)

# The C++ style of .clang-format over every source of the project; format-check (run by CI)
# lists the files it would change and fails.
FORMAT_FILES = git ls-files -- '*.cpp' '*.h' ':!tests/fakeuvc/*.c'
format: deps
	$(FORMAT_FILES) | xargs clang-format -i

format-check: deps
	@out=$$($(FORMAT_FILES) | xargs clang-format --dry-run 2>&1 | grep -o '^[^:]*:[0-9]*' | cut -d: -f1 | sort -u); \
	if [ -n "$$out" ]; then echo "format-check: not formatted (run make format):"; echo "$$out"; exit 1; fi; \
	echo "format-check: every file is formatted"

clean:
	rm -rf $(BUILD_DIR)
