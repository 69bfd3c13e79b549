# Umbrix: set-up, build and test in two commands.
#   make run   installs what is missing (as root, with apt-get), builds, writes AUSGABE.TEX
#   make test  the same set-up, then the whole test suite (sanitizers on, warnings are errors),
#              the package check and the comparison of the documents with the golden ones
#   make check     only the test suite, on the existing test build
#   make gui   the same set-up, then the desktop window
#   make install   builds and installs (PREFIX, default /usr/local: programs, menu entry, man page)
#   make package   builds the Debian package umbrix_VERSION_ARCH.deb in the build directory
#   make bench     release build, the peers sympy and booldnf, then bench/compare.py: all three
#                  modes side by side with the buffered write and the peers (bench/results/)
#   make bench-web the benchmark as WebAssembly, run with node (core time as on the web page);
#                  with BENCH_WEB=minimal_form_bench the minimisation's benchmark instead
#   make web       builds the web page into build-web/site/ (WebAssembly with emscripten)
#   make web-serve builds it and serves it on http://localhost:8000/

BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
WEB_BUILD_DIR  ?= build-web
WEB_PORT       ?= 8000
JOBS           ?= $(shell nproc)
BENCH_WEB      ?= umbrix_bench
# Documents of an independent implementation, kept beside the clone where they exist.
GOLDEN_CHECK   ?= ../shared/golden/check.sh

.PHONY: all deps configure build run gui test check golden install package bench bench-web web web-serve clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DUMBRIX_BUILD_TESTS=OFF >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/cli/umbrix

gui: build
	./$(BUILD_DIR)/src/window/umbrix-gui

test: web
	@cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DUMBRIX_SANITIZE=ON -DUMBRIX_WERROR=ON \
	  -DUMBRIX_WEB_SITE=$(abspath $(WEB_BUILD_DIR))/site >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	@$(MAKE) --no-print-directory check
	@$(MAKE) --no-print-directory package
	@bash tests/typesetting/check_package.sh $(BUILD_DIR)
	@$(MAKE) --no-print-directory golden

check:
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

golden: build
	@if [ -f $(GOLDEN_CHECK) ]; then bash $(GOLDEN_CHECK) $(BUILD_DIR)/src/cli/umbrix; \
	else echo "golden: skipped, $(GOLDEN_CHECK) not found"; fi

install: build
	cmake --install $(BUILD_DIR) $(if $(PREFIX),--prefix $(PREFIX))

package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: configure
	@bash tools/install-deps.sh packages/bench/peers.txt
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target umbrix
	/usr/bin/python3 bench/compare.py --umbrix $(BUILD_DIR)/src/cli/umbrix $(BENCH_ARGS)

# Debian's emscripten runs its JavaScript optimizer with the machine's node, which finds
# Debian's node modules only through NODE_PATH.
web: deps
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release \
	  -DUMBRIX_BUILD_TESTS=OFF -DUMBRIX_BUILD_GUI=OFF -DUMBRIX_WERROR=ON >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD_DIR) -j $(JOBS)

# The benchmark compiled to WebAssembly and run with node: the core's time in the page's engine.
bench-web: web
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD_DIR) -j $(JOBS) --target $(BENCH_WEB)
	node --no-experimental-fetch $(WEB_BUILD_DIR)/bench/$(BENCH_WEB).js $(BENCH_ARGS)

web-serve: web
	/usr/bin/python3 tools/serve_site.py $(WEB_BUILD_DIR)/site $(WEB_PORT)

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(WEB_BUILD_DIR)
