#!/usr/bin/env bash
# Builds WEX Browser and runs it on the bundled demo store, inside a sandbox
# home so the user's own home and settings are never touched.
#
#   scripts/run-demo.sh                  the desktop application
#   scripts/run-demo.sh --list [FOLDER]  the headless listing of a store folder
#                                        (default InBox; e.g. Lists/debian)
#
# Every run installs the dependencies (set SKIP_DEPS=1 to skip that step),
# configures the "default" preset, builds the program alone (no tests or
# benchmarks: `cmake --build --preset default` builds everything), and builds
# a fresh demo store in sandbox/store. The sandbox home (sandbox/home, with
# the program's own preferences under sandbox/home/.config, which a first run
# seeds with two move destinations) is kept between runs; remove the sandbox
# folder for a completely clean start.
set -euo pipefail

# 1 once the desktop application is built; with 0 the listing is shown instead.
RUN_APP=1

cd "$(dirname "$0")/.."
REPO="$(pwd)"

mode=app
folder=InBox
case "${1-}" in
  "") ;;
  --list) mode=list; [ $# -ge 2 ] && folder="$2" ;;
  -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "usage: scripts/run-demo.sh [--list [FOLDER]]" >&2; exit 2 ;;
esac

if [ "${SKIP_DEPS:-0}" != 1 ]; then
  scripts/install-deps.sh
fi
cmake --preset default
cmake --build --preset default --target wex-browser

SANDBOX="$REPO/sandbox"
STORE="$SANDBOX/store"
HOME_DIR="$SANDBOX/home"
SETTINGS="$HOME_DIR/Library/Preferences/WEX_Preferences"

scripts/make-demo-store.sh "$STORE"
mkdir -p "$SETTINGS" "$HOME_DIR/.config" "$HOME_DIR/.cache" "$HOME_DIR/.local/share"
rm -f -- "$SETTINGS/WEX_Root"
ln -sr -- "$STORE" "$SETTINGS/WEX_Root"

# The X server's cookie lives in the real home; keep it reachable after HOME
# changes. Nothing else of the real home is used.
if [ -z "${XAUTHORITY-}" ] && [ -n "${HOME-}" ] && [ -f "$HOME/.Xauthority" ]; then
  export XAUTHORITY="$HOME/.Xauthority"
fi
export HOME="$HOME_DIR"
export XDG_CONFIG_HOME="$HOME_DIR/.config"
export XDG_CACHE_HOME="$HOME_DIR/.cache"
export XDG_DATA_HOME="$HOME_DIR/.local/share"
# A first run starts with two move destinations (relative to the store root);
# preferences that exist already are left as the last run saved them.
DEFAULTS="$XDG_CONFIG_HOME/wex-browser/defaults.json"
if [ ! -e "$DEFAULTS" ]; then
  mkdir -p -- "$(dirname -- "$DEFAULTS")"
  printf '{\n    "Move Folder": [\n        "Archive/2025",\n        "Work"\n    ]\n}\n' > "$DEFAULTS"
fi
# Qt wants a private runtime folder; a desktop session has one, a bare shell
# (root on a fresh machine) may not.
if [ -z "${XDG_RUNTIME_DIR-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  export XDG_RUNTIME_DIR="$SANDBOX/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi

if [ "$mode" = app ]; then
  if [ "$RUN_APP" != 1 ]; then
    echo "run-demo: the desktop application is not built yet; showing the listing of $folder instead." >&2
    mode=list
  elif [ -z "${DISPLAY-}" ] && [ -z "${WAYLAND_DISPLAY-}" ]; then
    echo "run-demo: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the" >&2
    echo "run-demo: desktop application cannot open its windows; showing the listing of $folder instead." >&2
    mode=list
  fi
fi

# The demo has no Java suite: a stand-in `java` plays the downloader, so Mail >
# Get Mail delivers one new mail into the InBox after a few seconds, and
# stand-ins for the composer, the search program and the relocate tool
# (demo/suite/*.app) show on this terminal what Reply, New Mail, Search and
# Open WEX Relocate gave them.
export WEX_SUITE="$REPO/demo/suite"
export PATH="$REPO/demo/suite/bin:$PATH"

if [ "$mode" = list ]; then
  exec build/wex-browser --list "$STORE/$folder"
fi
exec build/wex-browser
