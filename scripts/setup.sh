#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when
# they are all present. Safe to run on every build.
set -euo pipefail

packages=(g++ make cmake bison flex libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libgmp-dev python3 clang-format libopenmpi-dev openmpi-bin)
if [ "${ORVELA_SETUP_EXTRA:-}" != "" ]; then
  read -r -a extra <<<"$ORVELA_SETUP_EXTRA"
  packages+=("${extra[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo=(sudo); else
    echo "setup: need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
