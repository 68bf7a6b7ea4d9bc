#!/usr/bin/env bash
# Installs what the tests need besides the build, then builds and runs the
# whole test suite twice: a normal build, then one under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen

tools/setup.sh --tests build
(cd build && ctest --output-on-failure -j2)

tools/setup.sh --tests build-asan -DKVX_SANITIZE=ON
(cd build-asan && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2)
