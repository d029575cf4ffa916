#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need; quick
# when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libopenal-dev libopenal1 libfreetype-dev libstb-dev nlohmann-json3-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libgles-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
