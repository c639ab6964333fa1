#!/usr/bin/env bash
# Installs what the Studio needs beyond the C++ build: Node.js (18 or later)
# with npm, from Debian when the commands are missing. A Node.js from another
# source that already provides both is kept: Debian's npm package would
# conflict with it.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  ORVELA_SETUP_EXTRA="nodejs npm" "$here/setup.sh"
fi
major="$(node -p 'process.versions.node.split(".")[0]')"
if [ "$major" -lt 18 ]; then
  echo "setup-studio: Node.js 18 or later is needed, this is $(node --version)" >&2
  exit 1
fi
