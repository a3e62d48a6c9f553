#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run its demo.
# Idempotent: when everything is already installed it does nothing (and needs no network).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev
  nlohmann-json3-dev
  libcups2-dev cups cups-client cups-filters
  libgs-dev ghostscript
  libcairo2 libcairo2-dev libgtk2.0-dev
  libjbig-dev jbigkit-bin libpng-dev
  netpbm groff
  clang-14 libclang-rt-14-dev
  libgtk2.0-dev xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
