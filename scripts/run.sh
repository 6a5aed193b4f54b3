#!/usr/bin/env bash
# Builds Tintwell (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target tintwell
exec build/src/app/tintwell "$@"
