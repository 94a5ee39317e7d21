#!/usr/bin/env bash
# Starts WordHatch under Wine: tools/run.sh path/to/WordHatch.exe
# The exe is copied into the run/ folder of its build first (build/win32/run or build/win64/run),
# so the settings (.ini) and trigger (.txt) files it keeps beside itself stay there. The exe's own
# header picks the Wine that runs it: the 32-bit one, or the 64-bit loader and server called by
# their own paths (tests/e2e/wine_builds.py); each build has a prefix of its own.
# - With an X server at $DISPLAY: runs the program there and returns when it exits, with its
#   exit code. The Wine prefix is $WINEPREFIX, or else run/wine/prefix (made on first use).
# - Without one: starts a virtual display and the prefix run/wine/prefix, waits for the main
#   window, starts Wine's Notepad, types an abbreviation of the trigger file (",ty" of the
#   starter file) into it, waits until Notepad holds the output, saves run/screenshot.png and
#   stops everything again. Fails (with the screenshot saved) when the output does not come.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 path/to/WordHatch.exe" >&2
  exit 2
fi
exe=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/.." && pwd)
run_dir=$(realpath -m "$(dirname "$exe")/run")
mkdir -p "$run_dir"
eval "$(/usr/bin/python3 "$source_dir/tests/e2e/wine_builds.py" "$exe")"
echo "run: the $WH_WINE_BUILD build under $WH_WINE"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cp "$exe" "$run_dir/"
  export WINEPREFIX="${WINEPREFIX:-$run_dir/wine/prefix}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No installer dialogs for .NET or the HTML engine, which WordHatch does not use.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: making the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WH_WINE" wineboot -i
  fi
  cd "$run_dir"
  echo "run: WordHatch on display $DISPLAY (files in $run_dir)"
  status=0
  "$WH_WINE" "$run_dir/$(basename "$exe")" || status=$?
  echo "run: WordHatch exited with $status"
  exit "$status"
fi

echo "run: no X display; WordHatch expands an abbreviation in Notepad on a virtual one, for a screenshot"
exec /usr/bin/python3 "$source_dir/tests/e2e/show_demo.py" "$exe" "$run_dir"
