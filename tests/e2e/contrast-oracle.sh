#!/usr/bin/env bash
# The WCAG contrast against culori (contrast-oracle.cjs), which scripts/deps.sh installs from npm; skipped (77)
# with a word when it could not be. Usage: contrast-oracle.sh CONTRAST_TABLE TINTWELL
set -euo pipefail
export NODE_PATH=/usr/local/share/tintwell-tests/node/node_modules
[ -f "$NODE_PATH/culori/package.json" ] ||
    { echo "SKIP: culori is not installed (scripts/deps.sh could not reach npm's registry)"; exit 77; }
exec node "$(dirname "$0")/contrast-oracle.cjs" "$@"
