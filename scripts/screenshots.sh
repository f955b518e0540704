#!/usr/bin/env bash
# Remakes the README's screenshots (docs/*.png) from the demo machine: the
# main window, then the About box opened with its button, then the window
# maximised at 100 %, the window in dark app mode and, on a larger screen,
# maximised at 200 % scaling.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages xdotool
build_all >/dev/null
"$VARNOCK_ROOT/scripts/demo-machine.sh" "$BUILD_DIR/demo-prefix" "$BUILD_DIR"
export WINEPREFIX="$BUILD_DIR/demo-prefix"
trap 'stop_prefix; stop_display' EXIT
start_display
# The window grows at its first scan's end to show every column, so the
# picture is the desktop trimmed to the window.
show_on_desktop "$BUILD_DIR/bin/Varnock.exe" Varnock 1280x800
mkdir -p "$VARNOCK_ROOT/docs"
import -window "$DESKTOP_WINDOW" png:- | convert - -trim +repage "$VARNOCK_ROOT/docs/main-window.png"
# "About Varnock" (Alt+A), centred on the window, which stays centred on
# the 1280 x 800 desktop as it grows.
xdotool key alt+a
sleep 2
import -window "$DESKTOP_WINDOW" -crop 416x112+432+345 +repage "$VARNOCK_ROOT/docs/about-box.png"
xdotool key Escape
sleep 1

# Maximised through the system menu (Alt+Space, then "x"), as a user would.
maximise() {
  xdotool key alt+space
  sleep 1
  xdotool key x
  sleep 3
}
maximise
import -window "$DESKTOP_WINDOW" +repage "$VARNOCK_ROOT/docs/main-window-resized.png"
wineserver -k

# Dark app mode, as Settings stores it: the same window in its dark palette.
personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
wine reg add "$personalize" /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
show_on_desktop "$BUILD_DIR/bin/Varnock.exe" VarnockDark 1280x800
import -window "$DESKTOP_WINDOW" png:- | convert - -trim +repage "$VARNOCK_ROOT/docs/main-window-dark.png"
wineserver -k
wine reg delete "$personalize" /v AppsUseLightTheme /f >/dev/null 2>&1 </dev/null

# 200 %: 192 pixels per inch, on a screen large enough for the window's
# least size at that scale.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 </dev/null
wineserver -w
stop_display
start_display 2200x1400
VARNOCK_SETTLE_SECONDS=${VARNOCK_SETTLE_SECONDS:-6} \
  show_on_desktop "$BUILD_DIR/bin/Varnock.exe" Varnock200 2048x1280
maximise
import -window "$DESKTOP_WINDOW" +repage "$VARNOCK_ROOT/docs/main-window-200.png"
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 </dev/null
log "wrote docs/main-window.png, docs/about-box.png, docs/main-window-resized.png, docs/main-window-dark.png and docs/main-window-200.png"
