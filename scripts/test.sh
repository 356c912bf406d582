#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
# Run it as root, or as a user who may use sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

install_missing scripts/packages-build.txt scripts/packages-test.txt
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON
cmake --build build/test --parallel "$(nproc)"
ctest --test-dir build/test --output-on-failure --timeout 600
