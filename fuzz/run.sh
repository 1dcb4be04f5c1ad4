#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang (AddressSanitizer and
# UBSan) into build-fuzz/ and runs it for a bounded time on the seed corpus
# and the reader's test files. The reader's sources include its WMF and EMF
# picture code; libUEMF, which that code reads records with, is linked as
# installed (Debian libuemf-dev), without sanitizers.
#   fuzz/run.sh [seconds]      default 60
# Exits non-zero when the build fails or the fuzzer finds a crash, a leak, a
# hang (over 10 s for one input) or runaway memory; the input that did it is
# left in build-fuzz/artifacts/.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-fuzz"
cxx="${CXX_FUZZ:-clang++}"
sanitize=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
read -r -a qt_cflags <<< "$(pkg-config --cflags Qt6Gui)"
read -r -a qt_libs <<< "$(pkg-config --libs Qt6Gui)"

mkdir -p "$out/obj" "$out/corpus-run" "$out/artifacts"

# Qt is built with reduced relocations: code using it must be -fPIC.
compile() {
  local source="$1" object="$out/obj/$(basename "${1%.cpp}").o"
  "$cxx" -std=c++20 -O1 -g -fPIC -Wall -Wextra "${sanitize[@]}" -I"$root/src" "${qt_cflags[@]}" \
    -c "$source" -o "$object"
}

sources=("$root"/src/rtf/*.cpp "$root/fuzz/rtf_fuzzer.cpp")
rm -f "$out"/obj/*.o
pids=()
for source in "${sources[@]}"; do
  compile "$source" &
  pids+=($!)
  if (( ${#pids[@]} >= 2 )); then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
done
for pid in "${pids[@]}"; do wait "$pid"; done
"$cxx" "${sanitize[@]}" "$out"/obj/*.o "${qt_libs[@]}" -luemf -o "$out/rtf_fuzzer"

cd "$out"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp"
# The sanitizers' quarantine and Qt's font caches take about 1 GB over a run;
# one allocation above 512 MB (four times Qt's image limit) is a finding.
./rtf_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -malloc_limit_mb=512 \
  -dict="$root/fuzz/rtf.dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "$out/corpus-run" "$root/fuzz/corpus" "$root/tests/data/rtf"
