#!/usr/bin/env bash
# `tintwell --convert` against colorjs.io (css-oracle.cjs), which scripts/deps.sh installs from npm; skipped (77)
# with a word when it could not be. Usage: css-oracle.sh TINTWELL NAMED_COLOURS_SOURCE [SEED]
set -euo pipefail
export NODE_PATH=/usr/local/share/tintwell-tests/node/node_modules
[ -f "$NODE_PATH/colorjs.io/package.json" ] ||
    { echo "SKIP: colorjs.io is not installed (scripts/deps.sh could not reach npm's registry)"; exit 77; }
exec node "$(dirname "$0")/css-oracle.cjs" "$@"
