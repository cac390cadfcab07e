#!/bin/sh
# All tests: a normal build and a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, each running the whole test suite.
set -eu
cd "$(dirname "$0")/.."
scripts/installeer.sh

echo "== Gewone build =="
scripts/bouw.sh build
ctest --test-dir build --output-on-failure

echo "== Build met AddressSanitizer en UndefinedBehaviorSanitizer =="
scripts/bouw.sh build-sanitizer -DZARVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitizer --output-on-failure
