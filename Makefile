# Entry points: `make test`, `make bench`, `make run`, `make screenshots`, `make fuzz`.
# Each target installs missing Debian packages first, so a fresh machine needs nothing else.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
DEMO_DIR   ?= $(BUILD)/demo
JOBS       ?= $(shell nproc)

# Everything the build, the tests and the benchmarks need.
PACKAGES = build-essential cmake ninja-build pkg-config git \
           qt6-base-dev libgl-dev libturbojpeg0-dev libexif-dev libpng-dev nlohmann-json3-dev \
           libgtest-dev libgmock-dev libbenchmark-dev fonts-wqy-microhei \
           xvfb xauth libvips-tools libjpeg-turbo-progs forensics-samples-files clang clang-format ccache

# Optimised without debug info (asserts stay on): the build is most of CI's time on two cores.
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 -DCMAKE_C_FLAGS_RELEASE=-O2
# ccache, where installed, serves rebuilds and other checkouts of the tree (paths taken relative to it).
ifneq ($(shell command -v ccache 2>/dev/null),)
LAUNCHER = -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
endif
CMAKE_FLAGS += $(LAUNCHER)
# The sanitizer build trades optimisation for compile time; -g1 keeps line numbers in its reports.
ASAN_FLAGS  = -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1" $(LAUNCHER)

.PHONY: deps build build-asan test bench run screenshots fuzz format clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(ASAN_FLAGS) -DXP_SANITIZE=ON -DXP_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The tests run twice: a normal build, then the same tests under ASan + UBSan.
test: build build-asan
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) -j $(JOBS) --timeout 300 --output-on-failure
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) -j $(JOBS) --timeout 600 --output-on-failure

bench: build
	@set -e; for b in $$(find $(BUILD)/bench -type f -name 'bench_*' -perm -u+x | sort); do \
	  echo "== $$b"; $$b --benchmark_counters_tabular=true; \
	done

# The demo installation beside the build, made once; the fresh program is copied into it every time,
# because the program finds its data in the folder it runs from.
define demo_installation
	@if [ ! -d $(DEMO_DIR)/data ]; then $(BUILD)/app/xuanpian-admin demo $(DEMO_DIR); fi
	cp -f $(BUILD)/app/xuanpian $(DEMO_DIR)/xuanpian
endef

run: build
	$(demo_installation)
	cd $(DEMO_DIR) && ./xuanpian

# PNGs of the login window and the main window under Xvfb at 1366 x 768, logged in with the demo account.
SCREENSHOT_DIR ?= $(BUILD)/screenshots
screenshots: build
	$(demo_installation)
	mkdir -p $(SCREENSHOT_DIR) $(BUILD)/qt-runtime && chmod 700 $(BUILD)/qt-runtime
	XDG_RUNTIME_DIR=$${XDG_RUNTIME_DIR:-$(abspath $(BUILD)/qt-runtime)} \
	  xvfb-run -a -s "-screen 0 1366x768x24" $(BUILD)/tests/shell/xp_shell_screenshots $(DEMO_DIR) $(SCREENSHOT_DIR)
	XDG_RUNTIME_DIR=$${XDG_RUNTIME_DIR:-$(abspath $(BUILD)/qt-runtime)} \
	  xvfb-run -a -s "-screen 0 1366x768x24" $(BUILD)/tests/selection/xp_selection_screenshots $(DEMO_DIR) $(SCREENSHOT_DIR)
	XDG_RUNTIME_DIR=$${XDG_RUNTIME_DIR:-$(abspath $(BUILD)/qt-runtime)} \
	  xvfb-run -a -s "-screen 0 1366x768x24" $(BUILD)/tests/settings/xp_gallery_screenshots $(DEMO_DIR) $(SCREENSHOT_DIR)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DXP_FUZZ=ON -DXP_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@set -e; for f in $$(find $(FUZZ_BUILD) -type f -name 'fuzz_*' -perm -u+x | sort); do \
	  echo "== $$f"; $$f -max_total_time=60 -rss_limit_mb=2048; \
	done

# Lays out every C++ source as .clang-format says.
format:
	git ls-files '*.cpp' '*.h' ':!tests/layers' | xargs clang-format -i --style=file

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
