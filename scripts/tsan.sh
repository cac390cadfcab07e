#!/bin/sh
# The core tests under ThreadSanitizer: the reader, the construction and the
# result writer share their work out over threads, and the tests cut that
# work into tiny pieces, so that every border is crossed under the
# sanitizer's eye. A build without the screens in build-tsan/, warnings as
# errors; zarvo-batch is built with it, since the batch tests run it.
set -eu
cd "$(dirname "$0")/.."
scripts/installeer.sh

echo "== Build met ThreadSanitizer (kerntests) =="
scripts/bouw.sh build-tsan -DZARVO_GUI=OFF -DZARVO_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
# The test that runs zarvo-batch in 16 MB of address space is left out:
# ThreadSanitizer's shadow memory alone needs more.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan --output-on-failure -j 2 -E 'TheBatchTellsItRanOutOfMemory'
