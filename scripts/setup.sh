#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Safe to run again: it installs only what is missing.
set -euo pipefail

PACKAGES=(
  cmake g++ make
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  libqt6sql6-sqlite libqt6sql6-odbc libqt6printsupport6
  unixodbc unixodbc-dev odbc-postgresql postgresql
  fonts-noto-cjk fonts-wqy-microhei poppler-utils
  libsqlite3-dev pkg-config clang-format python3-xlrd
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
