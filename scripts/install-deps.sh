#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need, and
# the German locale that the number-text tests run under; quick when
# everything is already there. wget talks to the hall-of-fame service; the
# tests run a small score service of their own with python3.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libopenal-dev libopenal1 libvorbis-dev libfreetype-dev libstb-dev nlohmann-json3-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libgles-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  locales xdg-utils fonts-dejavu-core
  wget python3
  clang libclang-rt-14-dev
)

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
fi

# The tests check that number text ignores a German locale; generate it once.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen > /dev/null
  $sudo locale-gen > /dev/null
fi
