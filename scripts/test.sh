#!/bin/sh
# All tests: a normal build and a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, each running the whole test suite. Both are
# built with warnings as errors. Every test case is its own CTest entry and
# works in its own temporary folder, so two run side by side.
set -eu
cd "$(dirname "$0")/.."
scripts/installeer.sh

echo "== Lagen =="
scripts/lagen.sh

echo "== Gewone build =="
scripts/bouw.sh build -DZARVO_WERROR=ON
ctest --test-dir build --output-on-failure -j 2

echo "== Build met AddressSanitizer en UndefinedBehaviorSanitizer =="
scripts/bouw.sh build-sanitizer -DZARVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DZARVO_WERROR=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitizer --output-on-failure -j 2
