#!/usr/bin/env bash
# The Windows zip as a new user meets it: unzipped into a folder of a fresh
# Wine prefix with nothing else installed, kavrin.exe starts in a real window
# (the windows platform plugin, on an Xvfb of its own), opens a Shift-JIS
# program named in Japanese from its command line, saves it with CR LF, and
# at its close writes kavrin.ini beside itself; unzipped into a read-only
# folder, it writes kavrin.ini into the user's own folder instead.
#   scripts/windows-package-test.sh ZIP [OUTPUT-FOLDER]
set -euo pipefail
if [ -z "${KAVRIN_IN_XVFB-}" ]; then
  for tool in xvfb-run xdotool unzip; do
    command -v "$tool" >/dev/null || {
      echo "windows-package-test: $tool is missing" >&2
      exit 2
    }
  done
  KAVRIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

zip=$(realpath "$1")
out=$(realpath -m "${2:-build-windows/package-test}")
rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
wine=/usr/lib/wine/wine64
fail() {
  echo "windows-package-test: $*" >&2
  timeout 20 "$wine" taskkill /f /im kavrin.exe >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -k || true
  rm -rf "$WINEPREFIX" # 700 MB a run; the logs stay
  exit 1
}

# kavrin.exe from FOLDER with the program, as COMMAND... may run it; waits
# for its window.
start() {
  local folder=$1
  shift
  (cd "$folder" && "$@" "$wine" kavrin.exe "$windows_program" >"$out/kavrin.log" 2>&1) &
  started=$!
  window=
  for _ in $(seq 120); do
    window=$(xdotool search --name 'テスト.txt - kavrin' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || fail "no window titled テスト.txt - kavrin (log: $out/kavrin.log)"
  sleep 1
}
# Closed as Windows closes a program's window: WM_CLOSE.
close() {
  "$wine" taskkill /im kavrin.exe >/dev/null 2>&1 || true # whether it closed, the wait tells
  for _ in $(seq 60); do
    kill -0 "$started" 2>/dev/null || break
    sleep 0.5
  done
  kill -0 "$started" 2>/dev/null && fail "kavrin.exe did not close"
  return 0
}

"$wine" wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver -w
# A folder whose name the ANSI code page (1252 here) cannot hold.
folder="$WINEPREFIX/drive_c/プログラム 置き場"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
exe=$(find "$folder" -name kavrin.exe)
# Answers on the command line reach a redirected output whole, in UTF-8.
(cd "$(dirname "$exe")" && "$wine" kavrin.exe --version >"$out/version.txt") || fail "kavrin.exe --version failed"
grep -q '^kavrin [0-9]' "$out/version.txt" || fail "kavrin.exe --version wrote: $(cat "$out/version.txt")"
(cd "$(dirname "$exe")" && "$wine" kavrin.exe --設定 2>"$out/refused.txt") && fail "kavrin.exe took --設定"
grep -q -- "'--設定'" "$out/refused.txt" || fail "the refusal lost its Japanese: $(cat "$out/refused.txt")"
program="$folder/テスト.txt"
printf '10 PRINT "\x82\xa0"\r\n' >"$program"
windows_program="C:\\プログラム 置き場\\テスト.txt"

start "$(dirname "$exe")"
timeout 10 xdotool windowfocus --sync "$window" || fail "the window took no focus"
xdotool key --window "$window" ctrl+End
xdotool type --window "$window" --delay 50 '20 END'
xdotool key --window "$window" ctrl+s
expected=$(printf '10 PRINT "\x82\xa0"\r\n20 END' | od -An -tx1)
for _ in $(seq 40); do
  [ "$(od -An -tx1 "$program")" = "$expected" ] && break
  sleep 0.5
done
if command -v import >/dev/null; then
  import -window root "$out/screenshot.png" || true
fi
[ "$(od -An -tx1 "$program")" = "$expected" ] || fail "the saved bytes differ: $(od -c "$program")"
close
[ -f "$(dirname "$exe")/kavrin.ini" ] || fail "no kavrin.ini beside kavrin.exe"
/usr/lib/wine/wineserver -k || true
echo "windows-package-test: kavrin.exe started from the zip, saved Shift-JIS with CR LF and wrote kavrin.ini beside itself"

# Unzipped where no file can be made (Program Files for a user), kavrin keeps
# its settings in the user's own folder.  Like Program Files, the folder is
# closed by its owner, not by the read-only flag (Wine shows one on a folder
# without write bits), which is all Windows' writable test of a folder reads.
# Root passes over the owner until the capabilities that let it are dropped,
# from wineserver too: it opens the files for the program.
bound=()
if [ "$(id -u)" = 0 ]; then
  bound=(setpriv --bounding-set -dac_override,-dac_read_search --inh-caps -dac_override,-dac_read_search)
  if ! "${bound[@]}" true 2>/dev/null; then
    echo "windows-package-test: skipped the read-only folder: root here cannot drop the capabilities that pass over permissions"
    rm -rf "$WINEPREFIX"
    exit 0
  fi
fi
locked="$WINEPREFIX/drive_c/読み取り専用"
mkdir -p "$locked"
unzip -q "$zip" -d "$locked"
exe=$(find "$locked" -name kavrin.exe)
if ((${#bound[@]})); then
  chown -R nobody "$locked"
else # as a user, only the flag can close it
  chmod -R a-w "$locked"
fi
per_user=$(find "$WINEPREFIX/drive_c/users" -maxdepth 1 -mindepth 1 ! -name Public | head -n 1)/AppData/Local/kavrin/kavrin.ini
start "$(dirname "$exe")" "${bound[@]}"
close
/usr/lib/wine/wineserver -k || true
chown -R "$(id -u)" "$locked" && chmod -R u+w "$locked"
[ -f "$(dirname "$exe")/kavrin.ini" ] && fail "kavrin.ini was written into the read-only folder"
[ -f "$per_user" ] || fail "no kavrin.ini in the user's folder: $(find "$WINEPREFIX/drive_c/users" -name kavrin.ini)"
grep -q '^Width=' "$per_user" || fail "the user's kavrin.ini holds no window size"
rm -rf "$WINEPREFIX"
echo "windows-package-test: unzipped into a read-only folder, kavrin.exe wrote kavrin.ini into the user's folder"
