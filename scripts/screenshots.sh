#!/usr/bin/env bash
# Remakes the README's screenshots (docs/*.png) from the demo machine: the
# main window, then the About box opened with its button.
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
log "wrote docs/main-window.png and docs/about-box.png"
