#!/usr/bin/env bash
# Builds the CXmlDoc libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it.
#
#   fuzz/run-xml-fuzzer.sh short   bounded run for the test command: 20,000 inputs from the
#                                  committed seeds, fixed seed, fresh working corpus
#   fuzz/run-xml-fuzzer.sh long    at least 1,000,000 inputs (XML_FUZZ_RUNS to change), keeping
#                                  its working corpus in the output folder between runs
#   fuzz/run-xml-fuzzer.sh build   compile only
#
# The mode may also be written --short, --long or --build. Extra arguments go to libFuzzer.
# Output (binary, working corpus, crash inputs) goes to build/fuzz-xml or XML_FUZZ_OUT; the
# committed seeds in fuzz/corpus/xml_doc are only read.
# A crash input belongs in tests/data/xml/crashes/, where the XML tests replay it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${XML_FUZZ_OUT:-$root/build/fuzz-xml}
mode=${1:-short}
mode=${mode#--}
[ $# -gt 0 ] && shift

compiler=${FUZZ_CXX:-}
if [ -z "$compiler" ]; then
  for candidate in clang++ clang++-14; do
    if command -v "$candidate" >/dev/null 2>&1; then
      compiler=$candidate
      break
    fi
  done
fi
if [ -z "$compiler" ]; then
  echo "run-xml-fuzzer: clang++ is not installed" >&2
  exit 1
fi

sources=(
  fuzz/xml_doc_fuzzer.cpp
  app/services/xml_doc.cpp
  app/services/xml_doc_file.cpp
  app/services/xml_doc_markup.cpp
  app/services/xml_doc_encoding.cpp
  app/services/xml_doc_entities.cpp
  app/common/text_encoding.cpp
)
headers=(fuzz/xml_doc_exercise.h app/services/xml_doc*.h app/common/text_encoding.h)

mkdir -p "$out"
binary=$out/xml_doc_fuzzer
stale=0
[ -x "$binary" ] || stale=1
for file in "${sources[@]}" "${headers[@]}"; do
  [ "$root/$file" -nt "$binary" ] && stale=1
done
if [ "$stale" = 1 ]; then
  echo "run-xml-fuzzer: building $binary"
  (cd "$root" && "$compiler" -std=c++17 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root" "${sources[@]}" -o "$binary")
fi

common=(
  -max_len=4096
  -timeout=10
  -rss_limit_mb=2048
  -dict="$root/fuzz/xml_doc.dict"
  -print_final_stats=1
  -artifact_prefix="$out/artifacts/"
)
mkdir -p "$out/artifacts"

case "$mode" in
  build)
    ;;
  short)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    "$binary" "${common[@]}" -runs=20000 -seed=1 "$@" "$work" "$root/fuzz/corpus/xml_doc"
    ;;
  long)
    mkdir -p "$out/corpus"
    "$binary" "${common[@]}" -runs="${XML_FUZZ_RUNS:-1000000}" "$@" \
      "$out/corpus" "$root/fuzz/corpus/xml_doc"
    ;;
  *)
    echo "usage: $0 short|long|build [libFuzzer flags...]" >&2
    exit 2
    ;;
esac
