# The two commands of the project: `make run` starts the console, `make test` runs every test.
# Both install what is missing first. `make bench` runs the benchmarks in a Release build.

BUILD_RUN   ?= build/run
BUILD_TEST  ?= build/test
BUILD_BENCH ?= build/bench
BUILD_FUZZ  ?= build/fuzz
FUZZ_TIME   ?= 180
JOBS        ?= $(shell nproc)

.PHONY: run test bench fuzz deps build-run build-test build-bench clean

deps:
	@sh scripts/install-deps

build-run: deps
	cmake -S . -B $(BUILD_RUN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMOR_TESTS=OFF
	cmake --build $(BUILD_RUN) --target zelmor -j $(JOBS)

run: build-run
	$(BUILD_RUN)/app/zelmor

build-test: deps
	cmake -S . -B $(BUILD_TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELMOR_SANITIZE=ON -DZELMOR_WERROR=ON
	cmake --build $(BUILD_TEST) -j $(JOBS)

test: build-test
	cd $(BUILD_TEST) && ctest --output-on-failure -j $(JOBS)

build-bench: deps
	cmake -S . -B $(BUILD_BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELMOR_TESTS=OFF -DZELMOR_BENCH=ON
	cmake --build $(BUILD_BENCH) -j $(JOBS)

bench: build-bench
	@set -e; for b in $(BUILD_BENCH)/bench/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf build

# libFuzzer runs of the component readers, FUZZ_TIME seconds each; needs clang, so not part of `test`.
# A crash input is written to $(BUILD_FUZZ)/crash-*; keep it as a fixture under tests/platform/framework/fuzz
# (component readers), tests/render/fuzz (mini-HTML), tests/fuzz/corpus/rtf (rich edit RTF),
# tests/platform/win32/fuzz (registry file), tests/platform/rtl/fuzz (INI files) or
# tests/platform/codecs/fuzz (pictures, with the format's extension).
# Native grid files go to tests/fuzz/corpus/gridfile, workbooks to tests/fuzz/corpus/workbook.
FUZZ_READERS = registry ini bmp gif ico jpeg png gridfile workbook
fuzz:
	@sh scripts/install-deps --fuzz
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DZELMOR_SANITIZE=ON -DZELMOR_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
	cmake --build $(BUILD_FUZZ) --target framework_fuzz_binary framework_fuzz_text render_fuzz_html rtf_fuzz \
		$(addsuffix _fuzz,$(FUZZ_READERS)) -j $(JOBS)
	mkdir -p $(BUILD_FUZZ)/corpus-binary $(BUILD_FUZZ)/corpus-text $(BUILD_FUZZ)/corpus-html $(BUILD_FUZZ)/corpus-rtf
	$(BUILD_FUZZ)/tests/fuzz/framework_fuzz_binary -max_total_time=$(FUZZ_TIME) -artifact_prefix=$(BUILD_FUZZ)/ \
		$(BUILD_FUZZ)/corpus-binary tests/fuzz/corpus/binary
	$(BUILD_FUZZ)/tests/fuzz/framework_fuzz_text -max_total_time=$(FUZZ_TIME) -artifact_prefix=$(BUILD_FUZZ)/ \
		$(BUILD_FUZZ)/corpus-text tests/fuzz/corpus/text
	$(BUILD_FUZZ)/tests/fuzz/render_fuzz_html -max_total_time=$(FUZZ_TIME) -artifact_prefix=$(BUILD_FUZZ)/ \
		$(BUILD_FUZZ)/corpus-html tests/fuzz/corpus/html
	$(BUILD_FUZZ)/tests/fuzz/rtf_fuzz -max_total_time=$(FUZZ_TIME) -artifact_prefix=$(BUILD_FUZZ)/ \
		$(BUILD_FUZZ)/corpus-rtf tests/fuzz/corpus/rtf
	@set -e; for reader in $(FUZZ_READERS); do \
		mkdir -p $(BUILD_FUZZ)/corpus-$$reader; \
		echo "$(BUILD_FUZZ)/tests/fuzz/$${reader}_fuzz"; \
		$(BUILD_FUZZ)/tests/fuzz/$${reader}_fuzz -max_total_time=$(FUZZ_TIME) -artifact_prefix=$(BUILD_FUZZ)/$$reader- \
			$(BUILD_FUZZ)/corpus-$$reader tests/fuzz/corpus/$$reader; \
	done
