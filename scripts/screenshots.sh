#!/usr/bin/env bash
# Remakes the README's screenshots (docs/*.png) from the demo machine: the
# main window, then the About box opened with its button, then the window
# maximised at 100 % and, on a larger screen, at 200 % scaling.
set -euo pipefail
source "$(dirname "$0")/common.sh"
command -v xdotool >/dev/null || { VARNOCK_EXTRA_PACKAGES=xdotool; }
ensure_packages
[ -n "${VARNOCK_EXTRA_PACKAGES:-}" ] && apt-get install -y -q xdotool >/dev/null
build_all >/dev/null
"$VARNOCK_ROOT/scripts/demo-machine.sh" "$BUILD_DIR/demo-prefix" "$BUILD_DIR"
export WINEPREFIX="$BUILD_DIR/demo-prefix"
trap 'stop_prefix; stop_display' EXIT
start_display
show_on_desktop "$BUILD_DIR/bin/Varnock.exe"
mkdir -p "$VARNOCK_ROOT/docs"
import -window "$DESKTOP_WINDOW" -crop 924x446+50+98 +repage "$VARNOCK_ROOT/docs/main-window.png"
# "About Varnock", where the centred dialog puts it on the 1024 x 640 desktop.
xdotool mousemove 898 147 click 1
sleep 2
import -window "$DESKTOP_WINDOW" -crop 416x112+304+265 +repage "$VARNOCK_ROOT/docs/about-box.png"
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

# 200 %: 192 pixels per inch, on a screen large enough for the window's
# least size at that scale.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 </dev/null
wineserver -w
stop_display
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 2200x1400x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=":$n"
sleep 1
wine explorer "/desktop=Varnock200,2048x1280" "$BUILD_DIR/bin/Varnock.exe" </dev/null >/dev/null 2>&1 &
for _ in $(seq 150); do
  DESKTOP_WINDOW=$(xwininfo -name "Varnock200 - Wine desktop" 2>/dev/null | awk '/Window id:/ {print $4}' || true)
  [ -n "$DESKTOP_WINDOW" ] && break
  sleep 0.1
done
sleep "${VARNOCK_SETTLE_SECONDS:-6}"
maximise
import -window "$DESKTOP_WINDOW" +repage "$VARNOCK_ROOT/docs/main-window-200.png"
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 </dev/null
log "wrote docs/main-window.png, docs/about-box.png, docs/main-window-resized.png and docs/main-window-200.png"
