#!/usr/bin/env bash
# Cross-builds Zandrovia for 64-bit Windows and packs Zandrovia-windows.zip.
#
#   scripts/build-windows.sh              # packages, libraries, Zandrovia.exe, the zip
#   scripts/build-windows.sh --libraries  # packages and libraries only
#   scripts/build-windows.sh --tests      # packages, libraries, the exe and the test
#                                         # programs (scripts/test.sh runs them)
#
# Installs the missing Debian packages (mingw-w64, Wine, Xvfb, zip), builds
# the libraries for the target once into a prefix (SDL2, FreeType, libogg,
# libvorbis and GoogleTest from Debian's source packages, OpenAL Soft from
# its release tarball, the stb implementations from Debian's headers,
# nlohmann-json's header), then Zandrovia.exe (Release) and the zip with the
# DLLs, the assets and the licences.
#
# Environment:
#   ZANDROVIA_WINDOWS_BUILD_DIR  build folder (default build-windows)
#   ZANDROVIA_WINDOWS_PREFIX     the libraries' prefix (default <build folder>/prefix);
#                                it is kept between runs, delete it to rebuild them
#   ZANDROVIA_OPENAL_TARBALL     openal-soft-1.21.0.tar.gz (default: the shared copy);
#                                its SHA-256 must match
#   ZANDROVIA_WINDOWS_JOBS       parallel jobs (default: the cores, at most 4)
#
# Exits with 3, before installing or building anything, when OpenAL Soft is
# still to be built and its source is not there.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD

mode=${1:-package}
case "$mode" in
  package | --libraries | --tests) ;;
  *) echo "usage: $0 [--libraries | --tests]" >&2; exit 2 ;;
esac

triple=x86_64-w64-mingw32
build=$(realpath -m "${ZANDROVIA_WINDOWS_BUILD_DIR:-build-windows}")
prefix=$(realpath -m "${ZANDROVIA_WINDOWS_PREFIX:-$build/prefix}")
export ZANDROVIA_WINDOWS_PREFIX=$prefix
jobs=${ZANDROVIA_WINDOWS_JOBS:-$(nproc)}
if ((jobs > 4)); then jobs=4; fi
toolchain=$source/cmake/mingw-w64-x86_64.cmake

openal_version=1.21.0
openal_sha256=937e22052f6cbfd01db9d83f7588eedbe7235e5cb34b6a1aa4da76bd1bac280c
# The shared copy sits in ../shared/third_party beside the checkout (beside
# the main checkout when this is one of its worktrees).
checkout=$source
if common=$(git rev-parse --path-format=absolute --git-common-dir 2>/dev/null); then
  checkout=$(dirname "$common")
fi
openal_tarball=${ZANDROVIA_OPENAL_TARBALL:-$checkout/../shared/third_party/openal-soft-$openal_version.tar.gz}

step() { echo "== $* =="; }

# --- Debian packages ---------------------------------------------------------

install_packages() {
  local packages=(
    gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth xdotool x11-apps python3 zip dpkg-dev cmake pkg-config libstb-dev nlohmann-json3-dev
  )
  local missing=() package sudo=""
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  ((${#missing[@]} == 0)) && return 0
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
}

# --- Sources -----------------------------------------------------------------

downloads=$build/libraries/downloads
work=$build/libraries/work
apt_state=$build/libraries/apt

# apt-get with a private list of deb-src entries made from the system's own
# Debian entries; the system's sources and package lists stay untouched.
private_apt() {
  local sandbox=()
  # As root, apt hands downloads to its "_apt" user, who cannot write here.
  if [[ $(id -u) -eq 0 ]]; then sandbox=(-o APT::Sandbox::User=root); fi
  apt-get -qq "${sandbox[@]}" -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_state/sources" \
    -o Dir::State::Lists="$apt_state/lists" -o Dir::Cache="$apt_state/cache" "$@"
}

prepare_private_apt() {
  [[ -f $apt_state/updated ]] && return 0
  rm -rf "$apt_state"
  mkdir -p "$apt_state/sources" "$apt_state/lists/partial" "$apt_state/cache/archives/partial"
  local file n=0
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    grep -q "debian" "$file" || continue
    n=$((n + 1))
    sed -E 's/^Types:.*/Types: deb-src/' "$file" > "$apt_state/sources/$n.sources"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $file ]] || continue
    n=$((n + 1))
    { grep -E '^deb[[:space:]].*debian' "$file" || true; } | sed -E 's/^deb[[:space:]]/deb-src /' \
      > "$apt_state/sources/$n.list"
  done
  if ! cat "$apt_state/sources/"* 2>/dev/null | grep -q "deb-src"; then
    echo "No Debian entries in the system's apt sources to take the source packages from" >&2
    return 1
  fi
  private_apt update
  touch "$apt_state/updated"
}

# debian_source <package> <name>: extracts the source package (with
# Debian's patches) into the work folder <name> and prints the folder.
debian_source() {
  local package=$1 name=$2 dsc dir
  mkdir -p "$downloads" "$work"
  dsc=$(ls "$downloads/${package}"_*.dsc 2>/dev/null | head -1 || true)
  if [[ -z $dsc ]]; then
    prepare_private_apt >&2
    (cd "$downloads" && private_apt source --download-only "$package" >&2)
    dsc=$(ls "$downloads/${package}"_*.dsc | head -1)
  fi
  dir=$work/$name
  rm -rf "$dir"
  dpkg-source --no-check -x "$dsc" "$dir" > /dev/null
  # dpkg-source leaves copies of the original tarballs beside the folder.
  find "$work" -maxdepth 1 -name "*.orig*.tar.*" -delete
  echo "$dir"
}

# --- Libraries ---------------------------------------------------------------

# run_logged <log> <command...>: the command's output goes to the log, whose
# end is shown when the command fails.
run_logged() {
  local log=$1
  shift
  if ! "$@" > "$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "Failed: $* (whole output in $log)" >&2
    return 1
  fi
}

cmake_library() {
  local name=$1 dir=$2
  shift 2
  run_logged "$work/$name-configure.log" cmake -S "$dir" -B "$work/build-$name" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZANDROVIA_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib "$@"
  run_logged "$work/$name-build.log" cmake --build "$work/build-$name" -j "$jobs"
  run_logged "$work/$name-install.log" cmake --install "$work/build-$name"
}

licence() {
  local name=$1
  shift
  mkdir -p "$prefix/licenses/$name"
  cp "$@" "$prefix/licenses/$name/"
}

built() { [[ -f $prefix/.built/$1 ]]; }
mark_built() { mkdir -p "$prefix/.built"; touch "$prefix/.built/$1"; rm -rf "$work/build-$1" "$work/$1"; }

build_sdl2() {
  built sdl2 && return 0
  step "SDL2"
  local dir
  dir=$(debian_source libsdl2 sdl2)
  cmake_library sdl2 "$dir" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  licence SDL2 "$dir/LICENSE.txt"
  mark_built sdl2
}

build_freetype() {
  built freetype && return 0
  step "FreeType"
  local dir
  dir=$(debian_source freetype freetype)
  cmake_library freetype "$dir" -DBUILD_SHARED_LIBS=ON -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  licence FreeType "$dir/LICENSE.TXT" "$dir/docs/FTL.TXT"
  mark_built freetype
}

build_ogg() {
  built ogg && return 0
  step "libogg"
  local dir
  dir=$(debian_source libogg ogg)
  cmake_library ogg "$dir" -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
  licence libogg "$dir/COPYING"
  mark_built ogg
}

build_vorbis() {
  built vorbis && return 0
  step "libvorbis"
  local dir
  dir=$(debian_source libvorbis vorbis)
  cmake_library vorbis "$dir" -DBUILD_SHARED_LIBS=OFF
  licence libvorbis "$dir/COPYING"
  mark_built vorbis
}

build_googletest() {
  built googletest && return 0
  step "GoogleTest"
  local dir
  dir=$(debian_source googletest googletest)
  cmake_library googletest "$dir" -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
  licence GoogleTest "$dir/LICENSE"
  mark_built googletest
}

build_openal() {
  built openal && return 0
  step "OpenAL Soft $openal_version"
  if ! echo "$openal_sha256  $openal_tarball" | sha256sum --check --status; then
    echo "$openal_tarball is not OpenAL Soft $openal_version's release (SHA-256 differs)" >&2
    return 1
  fi
  mkdir -p "$work"
  rm -rf "$work/openal"
  mkdir -p "$work/openal"
  tar -xzf "$openal_tarball" -C "$work/openal" --strip-components=1
  cmake_library openal "$work/openal" -DALSOFT_UTILS=OFF -DALSOFT_NO_CONFIG_UTIL=ON \
    -DALSOFT_EXAMPLES=OFF -DALSOFT_INSTALL_CONFIG=OFF \
    -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
    -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF
  licence "OpenAL Soft" "$work/openal/COPYING"
  mark_built openal
}

# stb: Debian's headers and a pkg-config file of the same name as Debian's
# (the platform layer compiles the implementations it uses itself).
build_stb() {
  built stb && return 0
  step "stb"
  mkdir -p "$prefix/include/stb" "$prefix/lib/pkgconfig"
  rm -f "$prefix/lib/libstb.a"
  cp /usr/include/stb/*.h "$prefix/include/stb/"
  cat > "$prefix/lib/pkgconfig/stb.pc" <<EOF
prefix=$prefix
includedir=\${prefix}/include

Name: stb
Description: single-file image libraries (headers)
Version: 0.0
Cflags: -I\${includedir}
EOF
  licence stb /usr/share/doc/libstb-dev/copyright
  mark_built stb
}

# nlohmann-json is a header library: Debian's header and CMake package.
build_json() {
  built json && return 0
  step "nlohmann-json"
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  rm -rf "$prefix/include/nlohmann" "$prefix/share/cmake/nlohmann_json"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
  licence nlohmann-json /usr/share/doc/nlohmann-json3-dev/copyright
  mark_built json
}

# The C and C++ runtime DLLs of mingw-w64 (GCC runtime library exception,
# winpthreads' MIT-style licence).
runtime_licences() {
  built runtime && return 0
  licence "GCC runtime" /usr/share/doc/gcc-mingw-w64-base/copyright
  licence "mingw-w64" /usr/share/doc/mingw-w64-common/copyright
  mark_built runtime
}

build_libraries() {
  rm -f "$prefix/READY"
  build_sdl2
  build_openal
  build_freetype
  build_ogg
  build_vorbis
  build_googletest
  build_stb
  build_json
  runtime_licences
  touch "$prefix/READY"
}

# --- The game ----------------------------------------------------------------

# build_game [target]: the Release build in <build folder>/build, with the
# tests (their programs are built only when no target is named).
build_game() {
  local launcher=() target=()
  if [[ $# -gt 0 ]]; then
    step "Zandrovia.exe"
    target=(--target "$1")
  else
    step "Zandrovia.exe and the tests"
  fi
  if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$build/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZANDROVIA_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DZANDROVIA_BENCH=OFF "${launcher[@]}" > /dev/null
  cmake --build "$build/build" "${target[@]}" -j "$jobs"
}

package() {
  step "Zandrovia-windows.zip"
  local stage=$build/package/Zandrovia dll
  rm -rf "$build/package" "$build/Zandrovia-windows.zip"
  mkdir -p "$stage"
  cp "$build/build/Zandrovia.exe" "$stage/"
  for dll in SDL2.dll OpenAL32.dll libfreetype.dll; do
    cp "$prefix/bin/$dll" "$stage/"
  done
  for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$($triple-g++-posix -print-file-name=$dll)" "$stage/"
  done
  $triple-strip --strip-unneeded "$stage"/*.dll "$stage/Zandrovia.exe"
  cp -rL assets "$stage/assets"
  mkdir -p "$stage/licenses"
  cp -r "$prefix/licenses/." "$stage/licenses/"
  mkdir -p "$stage/licenses/fonts"
  find assets -name '*-LICENSE.txt' -exec cp {} "$stage/licenses/fonts/" \;
  (cd "$build/package" && zip -qr9 "$build/Zandrovia-windows.zip" Zandrovia)
  echo "$build/Zandrovia-windows.zip ($(du -h "$build/Zandrovia-windows.zip" | cut -f1))"
}

start=$SECONDS
if ! built openal && [[ ! -f $openal_tarball ]]; then
  echo "OpenAL Soft's source is missing: $openal_tarball" >&2
  echo "Download openal-soft-$openal_version.tar.gz from the OpenAL Soft releases and set ZANDROVIA_OPENAL_TARBALL to it." >&2
  exit 3
fi
install_packages
# One run at a time per build folder and prefix: a second one would unpack
# sources under the first one's compiler.
mkdir -p "$build" "$prefix"
exec 8> "$build/.lock" 9> "$prefix/.lock"
flock 8
flock 9
build_libraries
echo "Libraries ready in $prefix ($((SECONDS - start)) s)"
case "$mode" in
  --libraries) ;;
  --tests) build_game ;;
  package) build_game Zandrovia && package ;;
esac
echo "Done in $((SECONDS - start)) s"
