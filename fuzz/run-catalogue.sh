#!/usr/bin/env bash
# Builds the catalogue loader's libFuzzer target with clang (AddressSanitizer
# and UBSan) against the system libmdb into build-fuzz-catalogue/ and runs it
# for a bounded time, seeded with the test catalogues and the damaged files
# kept as regression cases.
#   fuzz/run-catalogue.sh [seconds]      default 60
# Exits non-zero when the build fails or the fuzzer finds a crash, a leak, a
# hang (over 10 s for one input) or runaway memory; the input that did it is
# left in build-fuzz-catalogue/artifacts/.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-fuzz-catalogue"
cxx="${CXX_FUZZ:-clang++}"
sanitize=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
read -r -a cflags <<< "$(pkg-config --cflags Qt6Core libmdb sqlite3)"
read -r -a libs <<< "$(pkg-config --libs Qt6Core libmdb sqlite3)"

mkdir -p "$out/obj" "$out/seeds" "$out/corpus-run" "$out/artifacts"

# Qt is built with reduced relocations: code using it must be -fPIC.
compile() {
  local source="$1" object="$out/obj/$(basename "${1%.cpp}").o"
  "$cxx" -std=c++20 -O1 -g -fPIC -Wall -Wextra "${sanitize[@]}" -I"$root/src" "${cflags[@]}" \
    -c "$source" -o "$object"
}

sources=("$root"/src/catalogue/*.cpp "$root/fuzz/catalogue_fuzzer.cpp")
rm -f "$out"/obj/*.o
pids=()
for source in "${sources[@]}"; do
  compile "$source" &
  pids+=($!)
  if (( ${#pids[@]} >= 2 )); then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
done
for pid in "${pids[@]}"; do wait "$pid"; done
"$cxx" "${sanitize[@]}" "$out"/obj/*.o "${libs[@]}" -o "$out/catalogue_fuzzer"

# Every test catalogue but the 100,000-range one, whose load alone takes
# seconds under the sanitizers, and every damaged file kept as a test case.
rm -f "$out"/seeds/*
for seed in "$root"/tests/data/*.mdb "$root"/tests/data/damaged/*.mdb; do
  [[ -e $seed && $(basename "$seed") != large-100k.mdb ]] && ln -s "$seed" "$out/seeds/"
done

cd "$out"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-catalogue.supp"
# libmdb writes a warning to stderr for every damaged page it meets; they
# are left out of the log, the fuzzer's and the sanitizers' lines are kept.
./catalogue_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 \
  -artifact_prefix="$out/artifacts/" -print_final_stats=1 "$out/corpus-run" "$out/seeds" 2>&1 |
  grep -a -v -E '^(warning|Warning|error: reading page|offset [0-9]+ is beyond EOF|Unhandled (ole|memo)|Unable to|mdb_read_table|Oops|Out of memory while reading OLE|Couldn.t open memory buffer|Unrecognized|File is not|Unknown Jet version)'
