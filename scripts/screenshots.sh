#!/usr/bin/env bash
# Takes the README screenshots: runs WEX Browser on the demo store under a
# virtual X server (Xvfb), with the three windows side by side, selects a
# Japanese mail and writes
#   docs/screenshots/overview.png   the whole desktop
#   docs/screenshots/folders.png    the folder window
#   docs/screenshots/titles.png     the mail table
#   docs/screenshots/contents.png   the mail text
#   docs/screenshots/preferences.png  the preferences window (Ctrl+Comma)
#   docs/screenshots/keydialog.png  the key window of its key table's Add...
#   docs/screenshots/dark.png       the three windows under a dark palette
#                                   (qt6ct's "darker" colour scheme)
#   docs/screenshots/scale-200.png  the mail table at 200% (QT_SCALE_FACTOR=2)
#
#   scripts/screenshots.sh [BUILD_DIR]     (default: build, the "default" preset)
#
# Needs xvfb-run, xdotool, ImageMagick and qt6ct (scripts/install-deps.sh
# installs them). The demo store and the sandbox home live in a scratch folder that is
# removed afterwards; the user's own home is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
REPO="$(pwd)"
BUILD="${1:-build}"
OUT="$REPO/docs/screenshots"

if [ ! -x "$BUILD/wex-browser" ]; then
  cmake --preset default
  cmake --build --preset default --target wex-browser
  BUILD=build
fi
for tool in xvfb-run xdotool import convert perl; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
[ -f /usr/share/qt6ct/colors/darker.conf ] || { echo "screenshots: qt6ct is missing (scripts/install-deps.sh)" >&2; exit 1; }

SCRATCH="$(mktemp -d)"
trap 'rm -rf -- "$SCRATCH"' EXIT
STORE="$SCRATCH/store"
HOME_DIR="$SCRATCH/home"
scripts/make-demo-store.sh "$STORE" >/dev/null
mkdir -p "$HOME_DIR/Library/Preferences/WEX_Preferences" "$HOME_DIR/.config"
ln -s -- "$STORE" "$HOME_DIR/Library/Preferences/WEX_Preferences/WEX_Root"

# The row of the first mail with a Japanese subject, in the table's start-up
# order (by date, ascending).
ROW="$(HOME="$HOME_DIR" "$BUILD/wex-browser" --list "$STORE/InBox" --sort date |
  perl -CS -F'\t' -lane 'if ($F[3] =~ /[\x{3040}-\x{30FF}]/) { print $. - 1; exit }')"
[ -n "$ROW" ] || { echo "screenshots: no Japanese mail in the demo InBox" >&2; exit 1; }

mkdir -p "$OUT"
export SHOT_BINARY="$REPO/$BUILD/wex-browser" SHOT_HOME="$HOME_DIR" SHOT_OUT="$OUT" SHOT_ROW="$ROW"
case "$BUILD" in /*) SHOT_BINARY="$BUILD/wex-browser" ;; esac

xvfb-run -a -s "-screen 0 1920x1080x24 -dpi 96" bash -c '
  set -euo pipefail
  HOME="$SHOT_HOME" XDG_CONFIG_HOME="$SHOT_HOME/.config" QT_QPA_PLATFORM=xcb "$SHOT_BINARY" &
  APP=$!
  trap "kill -TERM $APP 2>/dev/null || true" EXIT
  sleep 4
  folders= titles= contents=
  for id in $(xdotool search --onlyvisible --pid "$APP"); do
    case "$(xdotool getwindowname "$id")" in
      Folders) folders=$id ;;
      InBox) titles=$id ;;
      *) [ -z "$contents" ] && contents=$id ;;
    esac
  done
  [ -n "$folders" ] && [ -n "$titles" ] && [ -n "$contents" ] || { echo "screenshots: windows not found" >&2; exit 1; }
  # Keyboard focus to the mail table, then to the Japanese mail.
  xdotool windowfocus --sync "$titles"
  sleep 0.5
  # The window opens with the focus in the filter field: Escape hands it to the table.
  xdotool key --delay 80 Escape ctrl+Home
  for _ in $(seq 1 "$SHOT_ROW"); do xdotool key --delay 80 Down; done
  sleep 2
  import -window root "$SHOT_OUT/overview.png"
  import -window "$folders" "$SHOT_OUT/folders.png"
  import -window "$titles" "$SHOT_OUT/titles.png"
  import -window "$contents" "$SHOT_OUT/contents.png"
  # The preferences window, then the key window for "Next Mail": Add... is
  # the fifth stop of the keyboard focus (after the three download controls
  # and the header cache switch); the command list starts on its
  # first row, and "Next Mail" is four rows down.
  xdotool windowfocus --sync "$titles"
  xdotool key ctrl+comma
  sleep 2
  prefs="$(xdotool search --onlyvisible --name "^Preferences\$" | head -n 1)"
  [ -n "$prefs" ] || { echo "screenshots: no preferences window" >&2; exit 1; }
  import -window "$prefs" "$SHOT_OUT/preferences.png"
  xdotool windowfocus --sync "$prefs"
  xdotool key --delay 150 Tab Tab Tab Tab Tab space
  sleep 1.5
  xdotool key --delay 150 Down Down Down Down Return
  sleep 1.5
  keywindow="$(xdotool search --onlyvisible --name "^Enter Key\$" | head -n 1)"
  [ -n "$keywindow" ] || { echo "screenshots: no key window" >&2; exit 1; }
  import -window "$keywindow" "$SHOT_OUT/keydialog.png"
  kill -TERM "$APP"
  wait "$APP" || true
  trap - EXIT
'
# The desktop around the windows is empty: keep only the part they cover.
convert "$OUT/overview.png" -trim +repage "$OUT/overview.png"

# The windows in another look: NAME SCREEN then the environment that makes
# it. The mail table shows the Japanese mail selected, as above.
look() {
  local name="$1" screen="$2"; shift 2
  SHOT_NAME="$name" xvfb-run -a -s "-screen 0 $screen -dpi 96" env "$@" bash -c '
    set -euo pipefail
    HOME="$SHOT_HOME" XDG_CONFIG_HOME="$SHOT_HOME/.config" QT_QPA_PLATFORM=xcb "$SHOT_BINARY" &
    APP=$!
    trap "kill -TERM $APP 2>/dev/null || true" EXIT
    sleep 4
    titles="$(xdotool search --all --onlyvisible --pid "$APP" --name "^InBox\$" | head -n 1)"
    [ -n "$titles" ] || { echo "screenshots: no title window" >&2; exit 1; }
    xdotool windowfocus --sync "$titles"
    sleep 0.5
    xdotool key --delay 80 Escape ctrl+Home
    for _ in $(seq 1 "$SHOT_ROW"); do xdotool key --delay 80 Down; done
    sleep 2
    case "$SHOT_NAME" in
      dark) import -window root "$SHOT_OUT/$SHOT_NAME.png" ;;
      *) import -window "$titles" "$SHOT_OUT/$SHOT_NAME.png" ;;
    esac
    kill -TERM "$APP"
    wait "$APP" || true
    trap - EXIT
  '
}
# A dark palette as a desktop without KDE hands it to Qt programs: qt6ct's
# platform theme with its "darker" colour scheme.
mkdir -p "$HOME_DIR/.config/qt6ct"
printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion\n' \
  > "$HOME_DIR/.config/qt6ct/qt6ct.conf"
look dark 1920x1080x24 QT_QPA_PLATFORMTHEME=qt6ct
convert "$OUT/dark.png" -trim +repage "$OUT/dark.png"
look scale-200 3840x2160x24 QT_SCALE_FACTOR=2
echo "screenshots: written to $OUT"
