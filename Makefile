# Thin wrappers around CMake and CTest.
BUILD ?= build
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 30
export TESSARYN_HOME ?= $(CURDIR)/$(BUILD)/home

.PHONY: deps configure build test demo release fuzz fuzz-smoke sanitize bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTSN_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Unit and end-to-end tests, after a short run of every fuzz target.
test: build fuzz-smoke
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The converter on the bundled example data: DXF release 12 and 14 drawings in $(BUILD)/demo.
# Builds the program alone; `make test` builds the tests, benchmarks and fuzz targets.
demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target tessaryn
	./$(BUILD)/tessaryn --version
	mkdir -p $(BUILD)/demo
	./$(BUILD)/tessaryn examples/rivers.shp $(BUILD)/demo/rivers-r12.dxf
	./$(BUILD)/tessaryn examples/rivers.shp $(BUILD)/demo/rivers-r14.dxf /L=RIVERS /REL=14
	@echo "demo: drawings written to $(BUILD)/demo/rivers-r12.dxf and $(BUILD)/demo/rivers-r14.dxf"

# The optimised build a user gets from a plain configure (no tests): it must build as it is.
release: deps
	cmake -S . -B $(BUILD)-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTSN_TESTS=OFF
	cmake --build $(BUILD)-release -j $(JOBS)
	./$(BUILD)-release/tessaryn --version

# Fuzz targets, built with clang, libFuzzer and the sanitizers.
fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DTSN_FUZZ=ON -DTSN_TESTS=OFF -DTSN_WERROR=ON
	cmake --build $(BUILD)-fuzz -j $(JOBS)

fuzz-smoke: fuzz
	bash scripts/run-fuzzers.sh $(BUILD)-fuzz $(FUZZ_SECONDS)

sanitize: deps
	CXX=clang++ cmake -S . -B $(BUILD)-asan -G Ninja -DTSN_SANITIZE=ON -DTSN_WERROR=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

# Reading speed as a ratio to copying the same files; conversions against ogr2ogr and the
# I/O floor.
bench: build
	./$(BUILD)/bench/reader_bench
	./$(BUILD)/bench/classify_bench $(BUILD)/tessaryn
	./$(BUILD)/bench/label_bench
	/usr/bin/python3 bench/conversion_bench.py $(BUILD)/tessaryn
	/usr/bin/python3 bench/fill_bench.py $(BUILD)/tessaryn
	/usr/bin/python3 bench/encoding_bench.py $(BUILD)/tessaryn
	/usr/bin/python3 bench/database_bench.py $(BUILD)/tessaryn
	/usr/bin/python3 bench/merge_bench.py $(BUILD)/tessaryn

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz $(BUILD)-asan $(BUILD)-release
