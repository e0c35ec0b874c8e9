#!/usr/bin/env bash
# Installs what is missing, builds incrementally and starts the workbench.
# Usage: ./run.sh [document]
set -euo pipefail
cd "$(dirname "$0")"
cmake/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tabulon
exec build/app/tabulon "$@"
