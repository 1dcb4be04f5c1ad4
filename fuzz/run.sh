#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds a libFuzzer target with clang (AddressSanitizer and UBSan) into
# build-fuzz/ and runs it for a bounded time on its seed corpus.
#   fuzz/run.sh [seconds] [target]      default 60 s, target rtf
# Targets: rtf        the RTF reader and the layout of what it builds (seeds:
#                     fuzz/corpus and the reader's test files)
#          standin    the stand-in CAD host's request and reply lines (seeds:
#                     fuzz/standin-corpus)
#          catalogue  the catalogue loader on the system libmdb (seeds: the
#                     test catalogues and the damaged files kept as test cases)
# The RTF target includes the reader's WMF and EMF picture code
# (src/metafile/); libmdb, for the catalogue target, is linked as installed,
# without sanitizers.
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
dict=()
lsan="$root/fuzz/lsan.supp"
# The sanitizers' quarantine and Qt's font caches take about 1 GB over an RTF
# run; one allocation above 512 MB (four times Qt's image limit) is a finding.
limits=(-rss_limit_mb=4096 -malloc_limit_mb=512)
noise='^$'

case "$target" in
  rtf)
    packages=(Qt6Gui)
    sources=("$root"/src/metafile/*.cpp "$root"/src/rtf/*.cpp "$root/fuzz/rtf_fuzzer.cpp")
    seeds=("$root/fuzz/corpus" "$root/tests/data/rtf")
    dict=(-dict="$root/fuzz/rtf.dict") ;;
  standin)
    packages=(Qt6Core)
    sources=("$root/src/generation/standin/standin_protocol.cpp" "$root/fuzz/standin_fuzzer.cpp")
    seeds=("$root/fuzz/standin-corpus")
    dict=(-dict="$root/fuzz/standin.dict") ;;
  catalogue)
    packages=(Qt6Core libmdb sqlite3)
    sources=("$root"/src/catalogue/*.cpp "$root/fuzz/catalogue_fuzzer.cpp")
    # Every test catalogue but the 100,000-range one, whose load alone takes
    # seconds under the sanitizers, and every damaged file kept as a test case.
    seeds=("$out/seeds-catalogue")
    mkdir -p "${seeds[0]}"
    rm -f "${seeds[0]}"/*
    for seed in "$root"/tests/data/*.mdb "$root"/tests/data/damaged/*.mdb; do
      [[ -e $seed && $(basename "$seed") != large-100k.mdb ]] && ln -s "$seed" "${seeds[0]}/"
    done
    lsan="$root/fuzz/lsan-catalogue.supp"
    limits=(-rss_limit_mb=2048 -malloc_limit_mb=256)
    # libmdb writes a warning to stderr for every damaged page it meets; they
    # are left out of the log, the fuzzer's and the sanitizers' lines are kept.
    noise='^(warning|Warning|error: reading page|offset [0-9]+ is beyond EOF|Unhandled (ole|memo)|Unable to|mdb_read_table|Oops|Out of memory while reading OLE|Couldn.t open memory buffer|Unrecognized|File is not|Unknown Jet version)' ;;
  *)
    echo "fuzz/run.sh: unknown target $target (rtf, standin or catalogue)" >&2
    exit 2 ;;
esac
obj="$out/obj-$target" corpus="$out/corpus-$target"
read -r -a cflags <<< "$(pkg-config --cflags "${packages[@]}")"
read -r -a package_libs <<< "$(pkg-config --libs "${packages[@]}")"

mkdir -p "$obj" "$corpus" "$out/artifacts"

# Qt is built with reduced relocations: code using it must be -fPIC.
compile() {
  local source="$1" object="$obj/$(basename "${1%.cpp}").o"
  "$cxx" -std=c++20 -O1 -g -fPIC -Wall -Wextra "${sanitize[@]}" -I"$root/src" "${cflags[@]}" \
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
"$cxx" "${sanitize[@]}" "$obj"/*.o "${package_libs[@]}" -o "$out/${target}_fuzzer"

cd "$out"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$lsan"
"./${target}_fuzzer" -max_total_time="$seconds" -timeout=10 "${limits[@]}" "${dict[@]}" \
  -artifact_prefix="$out/artifacts/${target}-" -print_final_stats=1 \
  "$corpus" "${seeds[@]}" 2>&1 | grep -a -v -E "$noise"
