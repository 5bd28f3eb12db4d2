#!/usr/bin/env bash
# Installs every package the build and the whole test suite need, and only those missing.
# Safe to run again and again; uses apt-get (with sudo when not run as root).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  clang libclang-rt-dev llvm
  libfreetype-dev libfontconfig-dev fonts-liberation2
  python3 python3-ezdxf python3-shapely gdal-bin shapelib
  qt6-base-dev xvfb xauth
)
# The DWG checker runs on Node.js; a machine that already has node and npm (from any source)
# keeps them, since Debian's packages would conflict with another installation.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

# The shared DWG checker's readers (npm packages kept in its cache), set up once here so
# that tests running side by side never install them at the same time.
setup_checker() {
  local checker
  checker="$(cd "$(dirname "$0")/.." && pwd)/../shared/tools/cadcheck/cadcheck"
  if [ -x "$checker" ]; then
    "$checker" --setup >/dev/null || echo "install-deps: the DWG checker could not be set up"
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  setup_checker
  echo "install-deps: everything is installed"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
setup_checker
