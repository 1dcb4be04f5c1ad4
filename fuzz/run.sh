#!/usr/bin/env bash
# Builds a libFuzzer target with clang (AddressSanitizer and UBSan) into
# build-fuzz/ and runs it for a bounded time on its seed corpus.
#   fuzz/run.sh [seconds] [target]      default 60 s, target rtf
# Targets: rtf      the RTF reader and the layout of what it builds (seeds:
#                   fuzz/corpus and the reader's test files)
#          standin  the stand-in CAD host's request and reply lines (seeds:
#                   fuzz/standin-corpus)
# The RTF target includes the reader's WMF and EMF picture code; libUEMF,
# which that code reads records with, is linked as installed (Debian
# libuemf-dev), without sanitizers.
# Exits non-zero when the build fails or the fuzzer finds a crash, a leak, a
# hang (over 10 s for one input) or runaway memory; the input that did it is
# left in build-fuzz/artifacts/.
set -euo pipefail

seconds="${1:-60}"
target="${2:-rtf}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-fuzz"
cxx="${CXX_FUZZ:-clang++}"
sanitize=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

case "$target" in
  rtf)
    qt_module=Qt6Gui
    sources=("$root"/src/rtf/*.cpp "$root/fuzz/rtf_fuzzer.cpp")
    seeds=("$root/fuzz/corpus" "$root/tests/data/rtf")
    dict="$root/fuzz/rtf.dict"
    libs=(-luemf)
    obj="$out/obj" corpus="$out/corpus-run" ;;
  standin)
    qt_module=Qt6Core
    sources=("$root/src/generation/standin/standin_protocol.cpp" "$root/fuzz/standin_fuzzer.cpp")
    seeds=("$root/fuzz/standin-corpus")
    dict="$root/fuzz/standin.dict"
    libs=()
    obj="$out/obj-standin" corpus="$out/corpus-standin" ;;
  *)
    echo "fuzz/run.sh: unknown target $target (rtf or standin)" >&2
    exit 2 ;;
esac
read -r -a qt_cflags <<< "$(pkg-config --cflags "$qt_module")"
read -r -a qt_libs <<< "$(pkg-config --libs "$qt_module")"

mkdir -p "$obj" "$corpus" "$out/artifacts"

# Qt is built with reduced relocations: code using it must be -fPIC.
compile() {
  local source="$1" object="$obj/$(basename "${1%.cpp}").o"
  "$cxx" -std=c++20 -O1 -g -fPIC -Wall -Wextra "${sanitize[@]}" -I"$root/src" "${qt_cflags[@]}" \
    -c "$source" -o "$object"
}

rm -f "$obj"/*.o
pids=()
for source in "${sources[@]}"; do
  compile "$source" &
  pids+=($!)
  if (( ${#pids[@]} >= 2 )); then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
done
for pid in "${pids[@]}"; do wait "$pid"; done
"$cxx" "${sanitize[@]}" "$obj"/*.o "${qt_libs[@]}" "${libs[@]}" -o "$out/${target}_fuzzer"

cd "$out"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp"
# The sanitizers' quarantine and Qt's font caches take about 1 GB over a run;
# one allocation above 512 MB (four times Qt's image limit) is a finding.
"./${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -malloc_limit_mb=512 \
  -dict="$dict" -artifact_prefix="$out/artifacts/${target}-" -print_final_stats=1 \
  "$corpus" "${seeds[@]}"
