#!/usr/bin/env bash
# Builds the vbXML fuzzer (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# in build/fuzz and runs it on the libxml2 backend for a bounded time.
#   scripts/fuzz-xml.sh [SECONDS]     (default 600)
# Findings are left in build/fuzz/findings; the corpus grows in build/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPELLOX_SANITIZE=ON -DPELLOX_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build build/fuzz --target xml_fuzz

mkdir -p build/fuzz/corpus build/fuzz/findings
cp -n tests/linux/fuzz-seeds/* tests/contract/not-well-formed/* build/fuzz/corpus/ 2>/dev/null || true
echo "fuzzing for ${seconds}s"
start=$(date +%s)
status=0
build/fuzz/tests/xml_fuzz build/fuzz/corpus \
  -dict=tests/linux/xml.dict -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 \
  2>build/fuzz/fuzz.log || status=$?
echo "ran $(( $(date +%s) - start ))s, exit status $status"
grep -hE '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+.*DONE' build/fuzz/fuzz.log 2>/dev/null | tail -6 || true
echo "findings: $(ls build/fuzz/findings | wc -l) file(s) in build/fuzz/findings"
exit $status
