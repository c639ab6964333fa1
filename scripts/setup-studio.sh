#!/usr/bin/env bash
# Installs what the Studio needs beyond the C++ build: Node.js with npm, from
# Debian when the commands are missing. A Node.js from another source that
# already provides both is kept: Debian's npm package depends on Debian's
# nodejs and would replace it. The application's bundler needs Node.js 20.19
# or later (Debian 12's own is 18), so an older one is refused with a message
# rather than failing later inside the build.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  ORVELA_SETUP_EXTRA="nodejs npm" "$here/setup.sh"
fi
if ! node -e 'const [a, b] = process.versions.node.split(".").map(Number); process.exit(a > 20 || (a === 20 && b >= 19) ? 0 : 1)'; then
  echo "setup-studio: Node.js 20.19 or later is needed, this is $(node --version)" >&2
  exit 1
fi
