#!/usr/bin/env bash
# Sets up a machine like tools/setup.sh, then builds and runs every test:
#  1. the whole program with its tests (build/), user-interface tests offscreen;
#  2. the core tests again under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/);
#  3. every libFuzzer target for a bounded time (build-fuzz/, clang).
# Any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh

export QT_QPA_PLATFORM=offscreen
# Nothing run here touches the user's own data folder, where an installed program keeps its order
# number: a data home under /dev/null can be neither read nor created. (The test programs give
# themselves a data home of their own; this covers the fuzzers and the package's test.)
export XDG_DATA_HOME=/dev/null/tavrolab-tests
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
JOBS=$(nproc)

echo "== Тесты: build/"
ctest --test-dir build --output-on-failure -j "$JOBS" --timeout 600

echo "== Тесты ядра под ASan+UBSan: build-asan/"
if [ ! -f build-asan/build.ninja ]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVROLAB_SANITIZE=ON \
        -DTAVROLAB_UI=OFF -DTAVROLAB_BENCH=OFF
fi
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j "$JOBS" --timeout 900

echo "== Фаззинг: build-fuzz/"
if [ ! -f build-fuzz/build.ninja ]; then
    CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTAVROLAB_FUZZ=ON -DTAVROLAB_SANITIZE=ON \
        -DTAVROLAB_UI=OFF -DTAVROLAB_TESTS=OFF -DTAVROLAB_BENCH=OFF
fi
cmake --build build-fuzz
FUZZ_SECONDS=${FUZZ_SECONDS:-25}
shopt -s nullglob
for fuzzer in build-fuzz/fuzz/*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    work=build-fuzz/corpus-work/$name
    mkdir -p "$work"
    seeds=tests/fuzz/corpus/$name
    echo "-- $name: $FUZZ_SECONDS с"
    args=("$work")
    [ -d "$seeds" ] && args+=("$seeds")
    # The sketch reader must answer any file quickly: a slow input counts as a finding.
    timeout=10
    [ "$name" = fuzz_sketch_reader ] && timeout=1
    "$fuzzer" -max_total_time="$FUZZ_SECONDS" -timeout="$timeout" -rss_limit_mb=2048 \
        -artifact_prefix="build-fuzz/$name-" -print_final_stats=1 "${args[@]}" 2>&1 | tail -n 15
    if [ "${PIPESTATUS[0]}" -ne 0 ]; then
        echo "Фаззер $name нашёл ошибку" >&2
        exit 1
    fi
done
echo "== Все тесты пройдены"
