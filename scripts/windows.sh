#!/usr/bin/env bash
# Builds kavrin for 64-bit Windows on Debian 12: Debian's MinGW-w64 compiler,
# Qt built from Debian's own source of the host's Qt, GoogleTest from
# Debian's own source. Qt and GoogleTest are built once and kept in a cache
# folder outside the clone; kavrin goes into build-windows.
#   scripts/windows.sh                    everything
#   scripts/windows.sh --deps-only        Qt and GoogleTest only
#   scripts/windows.sh --wine PROGRAM ... runs a built program under Wine,
#                                         offscreen, in a Wine prefix of ours
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

mode=all
case ${1-} in
  '') ;;
  --deps-only) mode=deps ;;
  --wine)
    mode=wine
    shift
    if (($# == 0)); then
      echo "usage: scripts/windows.sh --wine PROGRAM [ARGUMENT...]" >&2
      exit 2
    fi
    ;;
  *)
    echo "usage: scripts/windows.sh [--deps-only | --wine PROGRAM [ARGUMENT...]]" >&2
    exit 2
    ;;
esac

triple=x86_64-w64-mingw32
cache=${KAVRIN_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kavrin-windows}
toolchain=$root/scripts/mingw-w64.cmake
# The host's Qt, whose tools the Windows builds use.
host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
jobs=${KAVRIN_WINDOWS_JOBS:-$(nproc)}
mkdir -p "$cache"

install_missing() {
  local packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    cmake ninja-build perl dpkg-dev xz-utils
    # The host's Qt tools (moc, rcc, uic) build the Windows Qt and kavrin.
    qt6-base-dev qt6-base-dev-tools
    googletest wine64
  )
  "$root/scripts/setup.sh" "${packages[@]}"
}

# The source of the host's own Qt, through an apt configuration of our own:
# its own source list, package lists and cache, so the system's sources stay
# as they are.
fetch_qt_source() {
  local dest=$1 apt=$cache/apt
  if [ -f "$dest/.unpacked" ]; then
    return
  fi
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$apt/download"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$apt/sources.list"
  local options=(
    -o Dir::Etc::SourceList="$apt/sources.list"
    -o Dir::Etc::SourceParts="$apt/sources.list.d"
    -o Dir::State::Lists="$apt/lists"
    -o Dir::Cache="$apt/cache"
    -o APT::Sandbox::User=root
  )
  apt-get "${options[@]}" update -qq
  rm -rf "$dest" "$apt/download"/*
  (cd "$apt/download" && apt-get "${options[@]}" source --download-only "qt6-base=$qt_package_version")
  mkdir -p "$(dirname "$dest")"
  dpkg-source --no-check --no-copy -x "$apt/download"/qt6-base_*.dsc "$dest"
  touch "$dest/.unpacked"
}

# Only what kavrin needs: Core, Gui, Widgets, Test, the windows and offscreen
# platform plugins and the Windows styles. The windows plugin of Qt 6.4.2
# does not compile without OpenGL, so it stays on, loaded at run time; the
# source has no wintab.h, so no tablet events.
qt_options=(
  -DBUILD_SHARED_LIBS=ON
  -DCMAKE_BUILD_TYPE=Release
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_opengl=ON -DFEATURE_opengl_dynamic=ON -DFEATURE_tabletevent=OFF
  -DFEATURE_direct2d=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  -DFEATURE_pkg_config=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_doubleconversion=OFF
)

# A key for the build: the Qt version, the options, the toolchain and the
# compiler, so a change of any of them builds anew beside the old one.
build_key() {
  {
    printf '%s\n' "$qt_package_version" "${qt_options[@]}"
    cat "$toolchain"
    "$triple-g++-posix" --version | head -n 1
  } | sha256sum | cut -c1-10
}

# Qt 6.4.2 has its DirectWrite font database only with Direct2D, which
# kavrin does not need, but its windows plugin asks for it without.  The GDI
# one stays, as it is the default anyway.
patch_qt_source() {
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    "$1/src/plugins/platforms/windows/qwindowsintegration.cpp"
}

build_qt() {
  local src=$cache/src/qt6-base-$qt_package_version
  local build=$cache/build/qt-$qt_version-$key
  if [ -f "$qt_prefix/.complete" ]; then
    return
  fi
  fetch_qt_source "$src"
  patch_qt_source "$src"
  echo "Building Qt $qt_version for Windows in $build (log: $build/build.log)"
  local started=$SECONDS
  mkdir -p "$build"
  # pkg-config of the host would hand the host's libraries to the target.
  PKG_CONFIG_LIBDIR=/nonexistent PKG_CONFIG_PATH='' \
    cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    "${qt_options[@]}" >"$build/configure.log"
  cmake --build "$build" -j "$jobs" >"$build/build.log"
  # Whatever an interrupted install left is replaced whole.
  rm -rf "$qt_prefix"
  cmake --install "$build" >"$build/install.log"
  echo "$((SECONDS - started)) s" >"$qt_prefix/.build-time"
  touch "$qt_prefix/.complete"
  echo "Qt built in $(((SECONDS - started) / 60)) min"
}

build_gtest() {
  local build=$cache/build/googletest-$key
  if [ -f "$gtest_prefix/.complete" ]; then
    return
  fi
  cmake -S /usr/src/googletest -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" \
    -DCMAKE_BUILD_TYPE=Release \
    -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build" -j "$jobs"
  rm -rf "$gtest_prefix"
  cmake --install "$build" >/dev/null
  touch "$gtest_prefix/.complete"
}

build_kavrin() {
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B build-windows -G Ninja "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$qt_prefix;$gtest_prefix" \
    -DCMAKE_FIND_ROOT_PATH="$qt_prefix;$gtest_prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DKAVRIN_BUILD_BENCH=OFF
  cmake --build build-windows -j "$jobs"
}

# A Windows path for Wine's own PATH: the root is drive Z:.
windows_path() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}

# Qt's DLLs and the MinGW runtime are found through WINEPATH, the plugins
# beside Qt's DLLs; Wine's own installers of Mono and Gecko are not wanted.
run_under_wine() {
  local runtime wine_path
  runtime=$(dirname "$("$triple-g++-posix" -print-file-name=libstdc++-6.dll)")
  wine_path="$(windows_path "$qt_prefix/bin");$(windows_path "$runtime");$(windows_path /usr/$triple/lib)"
  export WINEPREFIX=$cache/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH=$wine_path
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
  fi
  exec /usr/lib/wine/wine64 "$@"
}

if [ "$mode" != wine ]; then
  install_missing
fi
qt_package_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_package_version%%+*}
key=$(build_key)
qt_prefix=$cache/qt-$qt_version-$key
gtest_prefix=$cache/googletest-$(dpkg-query -W -f='${Version}' googletest)-$key

if [ "$mode" = wine ]; then
  run_under_wine "$@"
fi
# One build at a time in the cache.
exec 9>"$cache/.lock"
flock 9
build_qt
build_gtest
flock -u 9
if [ "$mode" = deps ]; then
  exit 0
fi
build_kavrin
