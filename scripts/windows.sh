#!/usr/bin/env bash
# Builds kavrin for 64-bit Windows on Debian 12: Debian's MinGW-w64 compiler,
# Qt built from Debian's own source of the host's Qt, GoogleTest from
# Debian's own source. Qt and GoogleTest are built once and kept in a cache
# folder outside the clone; kavrin goes into build-windows.
#   scripts/windows.sh                    everything
#   scripts/windows.sh --deps-only        Qt and GoogleTest only
#   scripts/windows.sh --package          everything, then the zip a user
#                                         unzips: kavrin-VERSION-windows-x64.zip
#   scripts/windows.sh --test             the zip, then every test program
#                                         under Wine and the zip's own test
#   scripts/windows.sh --qt-ready         succeeds when Qt is in the cache;
#                                         1: none ever built, 2: a run would
#                                         build it anew (or a tool is missing)
#   scripts/windows.sh --wine PROGRAM ... runs a built program under Wine,
#                                         in a Wine prefix of ours
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

mode=all
case ${1-} in
  '') ;;
  --deps-only) mode=deps ;;
  --package) mode=package ;;
  --test) mode=test ;;
  --qt-ready) mode=qt-ready ;;
  --wine)
    mode=wine
    shift
    (($#)) || { echo "usage: scripts/windows.sh --wine PROGRAM [ARGUMENT...]" >&2 && exit 2; }
    ;;
  *)
    echo "usage: scripts/windows.sh [--deps-only | --package | --test | --qt-ready | --wine PROGRAM [ARGUMENT...]]" >&2
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
    googletest wine64 zip unzip
    # Qt's Japanese translation for the zip; Xvfb and xdotool for its test.
    qt6-translations-l10n xvfb xauth xdotool
    # The Japanese font the tests find through fc-list; the zip test's screenshot.
    fonts-ipafont-gothic fontconfig imagemagick
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
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  {
    echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main"
    echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main"
    echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main"
  } >"$apt/sources.list"
  local options=(
    -o Dir::Etc::SourceList="$apt/sources.list"
    -o Dir::Etc::SourceParts="$apt/sources.list.d"
    -o Dir::State::Lists="$apt/lists"
    -o Dir::Cache="$apt/cache"
    -o APT::Sandbox::User=root
    # The system's update hooks are for its own lists ("-o ...::=" only
    # adds an empty one).
    -c "$apt/no-hooks.conf"
  )
  printf '#clear APT::Update::Post-Invoke;\n#clear APT::Update::Post-Invoke-Success;\n' >"$apt/no-hooks.conf"
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
  # A build configured against the Qt of another key would keep finding its
  # packages (Qt6Core_DIR and the rest): configure that one anew.
  local fresh=() qt_dir=$qt_prefix/lib/cmake/Qt6
  if [ -f build-windows/CMakeCache.txt ] && ! grep -qxF "Qt6_DIR:PATH=$qt_dir" build-windows/CMakeCache.txt; then
    fresh=(--fresh)
  fi
  cmake "${fresh[@]}" -S . -B build-windows -G Ninja "${launcher[@]}" \
    -DQt6_DIR:PATH="$qt_dir" -DGTest_DIR:PATH="$gtest_prefix/lib/cmake/GTest" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$qt_prefix;$gtest_prefix" \
    -DCMAKE_FIND_ROOT_PATH="$qt_prefix;$gtest_prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DKAVRIN_BUILD_BENCH=OFF
  cmake --build build-windows -j "$jobs"
}

# The DLLs a program or DLL loads that are ours to ship (Qt's, the MinGW
# runtime's), found in the folders given, and theirs in turn.
shipped_dlls() {
  local file=$1 dll dir dlls
  shift
  # Captured first: a failing objdump stops the script.
  dlls=$("$triple-objdump" -p "$file")
  for dll in $(sed -n 's/^\tDLL Name: //p' <<<"$dlls"); do
    for dir in "$@"; do
      if [ -f "$dir/$dll" ]; then
        echo "$dir/$dll"
        shipped_dlls "$dir/$dll" "$@"
      fi
    done
  done
}

# The licences of what the zip holds: Qt's, those of the libraries Qt's DLLs
# have built in, the one line changed in Qt, and the MinGW runtime's.
copy_licences() {
  local licences=$1 src=$cache/src/qt6-base-$qt_package_version part file
  local changed=src/plugins/platforms/windows/qwindowsintegration.cpp
  for part in blake2 double-conversion easing freetype harfbuzz-ng icc libpng md4c pcre2 rfc6234 sha3 tinycbor zlib; do
    mkdir -p "$licences/qt-3rdparty/$part"
    for file in "$src/src/3rdparty/$part"/*; do
      case ${file##*/} in
        *LICEN[CS]E* | COPYING*) cp "$file" "$licences/qt-3rdparty/$part/" ;;
      esac
    done
  done
  sed 's/^#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)$/#if QT_CONFIG(directwrite3)/' "$src/$changed" |
    diff -u --label "a/$changed" --label "b/$changed" - "$src/$changed" >"$licences/qt-directwrite.diff" || [ $? = 1 ]
  cp "$cache/src/qt6-base-$qt_package_version/LICENSES/LGPL-3.0-only.txt" \
    "$cache/src/qt6-base-$qt_package_version/LICENSES/GPL-3.0-only.txt" "$licences/"
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licences/gcc-runtime-copyright.txt"
  cp /usr/share/doc/mingw-w64-common/copyright "$licences/mingw-w64-copyright.txt"
  sed -e "s/@QT_VERSION@/$qt_version/g" -e "s/@QT_PACKAGE_VERSION@/$qt_package_version/g" \
    packaging/windows-licenses.txt.in >"$licences/README.txt"
  (cd "$licences/qt-3rdparty" && printf '  %s\n' */*) >>"$licences/README.txt"
}

# One folder in a zip: kavrin.exe, the keyword lists beside it (where it
# looks first), the DLLs and the two plugins it needs (the windows platform,
# the native style), all stripped, the READMEs and the licences.
make_package() {
  local version name stage runtime file
  version=$(sed -n 's/^project(kavrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  name=kavrin-$version-windows-x64
  stage=build-windows/package/$name
  runtime=$(dirname "$("$triple-g++-posix" -print-file-name=libstdc++-6.dll)")
  # Not found, the compiler names the bare file.
  for file in "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" "/usr/$triple/lib/libwinpthread-1.dll"; do
    [ -f "$file" ] || { echo "windows.sh: no $file" >&2 && return 1; }
  done
  # An older version's zip would stand beside the new one.
  rm -rf build-windows/package build-windows/kavrin-*-windows-x64.zip
  mkdir -p "$stage/platforms" "$stage/styles" "$stage/licenses"
  cp build-windows/src/kavrin.exe data/*.txt README.md README.ja.md LICENSE "$stage/"
  cp "$qt_prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
  cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
  # Qt's own buttons and dialogs in Japanese (はい, いいえ, キャンセル, which
  # kavrin's messages name): Debian's translation of the same Qt, where Qt
  # looks beside its DLLs.
  mkdir -p "$stage/translations"
  cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
  for file in "$stage/kavrin.exe" "$stage"/*/*.dll; do
    shipped_dlls "$file" "$qt_prefix/bin" "$runtime" "/usr/$triple/lib"
  done | sort -u | xargs cp -t "$stage/"
  "$triple-strip" --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
  copy_licences "$stage/licenses"
  (cd build-windows/package && zip -qr9 "../$name.zip" "$name")
  package_zip=build-windows/$name.zip
  echo "$package_zip: $(du -k "$package_zip" | cut -f1) KiB"
}

# A Windows path for Wine's own PATH: the root is drive Z:.
windows_path() {
  local path; path=$(realpath -m "$1"); echo "Z:${path//\//\\}"
}

# Qt's DLLs and the MinGW runtime are found through WINEPATH, the plugins
# beside Qt's DLLs; Wine's own installers of Mono and Gecko are not wanted.
# Wine passes no QT_ variable on: the tests choose offscreen themselves.
wine_env() {
  local runtime wine_path
  runtime=$(dirname "$("$triple-g++-posix" -print-file-name=libstdc++-6.dll)")
  wine_path="$(windows_path "$qt_prefix/bin");$(windows_path "$runtime");$(windows_path /usr/$triple/lib)"
  export WINEPREFIX=$root/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH=$wine_path
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
  fi
  # A Japanese font installed, as on a Japanese Windows: the host's. The
  # tests' offscreen windows read fonts from this folder only.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts font
  mkdir -p "$fonts"
  for font in $(fc-list :lang=ja file | sed 's/:.*//'); do
    [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/"
  done
}

# Every test program under Wine, each its own run, then the zip's test.
run_tests() {
  local test status failed=()
  for test in build-windows/tests/*_tests.exe; do
    echo "== ${test##*/} under Wine"
    : >"${test%.exe}.log"
    for try in 1 2; do
      status=0
      # A hung test must not hold CI; what it left in Wine goes with it.
      (wine_env && timeout 300 /usr/lib/wine/wine64 "$test" | tee -a "${test%.exe}.log") || status=$?
      [ "$status" = 0 ] && break
      (wine_env && /usr/lib/wine/wineserver -k) || true
      # Wine now and then cannot start a program ("Internal error"): only
      # that earns a second run; any other failure, or a hang, fails.
      if [ "$try" = 1 ] && [ "$status" != 124 ] && { ! grep -q '^\[==========\] Running' "${test%.exe}.log" ||
        grep -q 'Internal error' "${test%.exe}.log"; }; then
        echo "== ${test##*/} met Wine's start failure; once more"
      else
        failed+=("${test##*/}")
        break
      fi
    done
  done
  status=0
  timeout 300 scripts/windows-package-test.sh "$package_zip" | tee build-windows/package-test.log || status=$?
  [ "$status" = 0 ] || failed+=("the zip")
  # What cannot apply on Windows, each with its reason, where it is seen.
  echo "Skipped under Wine:"
  for test in build-windows/tests/*_tests.exe; do
    tr -d '\r' <"${test%.exe}.log"
  done | awk '/: Skipped$/ { getline why } /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ { sub(/ \(.*/, ""); print "  " $4 ": " why }' |
    sort -u
  grep 'skipped' build-windows/package-test.log | sed 's/^/  /' || true
  if ((${#failed[@]})); then
    echo "Failed under Wine: ${failed[*]}" >&2
    return 1
  fi
  echo "Every Windows test passed under Wine."
}

if [ "$mode" = qt-ready ]; then
  # Whether a run would find Qt built, nothing installed to tell: 1 when no
  # Qt was ever built here, 2 when one was but a run would build anew.
  compgen -G "$cache/qt-*" >/dev/null || exit 1
  for tool in "$triple-g++-posix" dpkg-query; do
    command -v "$tool" >/dev/null || { echo "windows.sh: $tool is missing" >&2 && exit 2; }
  done
  dpkg-query -W qt6-base-dev googletest >/dev/null 2>&1 ||
    { echo "windows.sh: qt6-base-dev or googletest is not installed" >&2 && exit 2; }
elif [ "$mode" != wine ]; then
  install_missing
fi
qt_package_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_package_version%%+*}
key=$(build_key)
qt_prefix=$cache/qt-$qt_version-$key
gtest_prefix=$cache/googletest-$(dpkg-query -W -f='${Version}' googletest)-$key

if [ "$mode" = wine ]; then
  wine_env
  exec /usr/lib/wine/wine64 "$@"
fi
if [ "$mode" = qt-ready ]; then
  if [ ! -f "$qt_prefix/.complete" ]; then
    echo "windows.sh: no complete Qt build for this key in $qt_prefix (the Qt version, its options, the toolchain or the compiler changed, or a build was cut short); scripts/windows.sh --deps-only builds it" >&2
    exit 2
  fi
  exit 0
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
if [ "$mode" = package ] || [ "$mode" = test ]; then
  make_package
fi
if [ "$mode" = test ]; then
  run_tests
fi
