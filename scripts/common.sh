# Shared by the project's scripts: installs what is missing, builds, and
# gives each run a Wine prefix and an X display of its own.
# shellcheck shell=bash

VARNOCK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${VARNOCK_BUILD_DIR:-$VARNOCK_ROOT/build}

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

log() { printf '== %s\n' "$*" >&2; }

# The Debian packages the build, the tests, the fuzzers and the demo need.
# Extra arguments name commands one script alone needs, each installed from
# the package of its own name (screenshots.sh: xdotool).
ensure_packages() {
  local need=() extra
  for extra in "$@"; do command -v "$extra" >/dev/null || need+=("$extra"); done
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix)
  command -v x86_64-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-x86-64)
  command -v wine >/dev/null || need+=(wine wine64)
  command -v Xvfb >/dev/null || need+=(xvfb xauth)
  command -v cmake >/dev/null || need+=(cmake)
  command -v import >/dev/null || need+=(imagemagick)
  command -v xwininfo >/dev/null || need+=(x11-utils)
  command -v zip >/dev/null || need+=(zip unzip)
  command -v python3 >/dev/null || need+=(python3)
  # The release's zip and the tests' certificates use Debian's own python3.
  [ -x /usr/bin/python3 ] || need+=(python3)
  /usr/bin/python3 -c 'import cryptography' 2>/dev/null || need+=(python3-cryptography)
  # Signing the release, and the tests of signing and of a rebuild at another time.
  command -v osslsigncode >/dev/null || need+=(osslsigncode)
  command -v faketime >/dev/null || need+=(faketime)
  command -v jq >/dev/null || need+=(jq)
  /usr/bin/python3 -c 'import jsonschema' 2>/dev/null || need+=(python3-jsonschema)
  # The release test reads the winget manifests with it.
  /usr/bin/python3 -c 'import yaml' 2>/dev/null || need+=(python3-yaml)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  # The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
  command -v clang++ >/dev/null || need+=(clang)
  compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null ||
    need+=(libclang-rt-14-dev)
  [ ${#need[@]} -eq 0 ] && return 0
  log "installing ${need[*]}"
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${need[@]}"
}

build_all() {
  log "configuring and building in $BUILD_DIR"
  cmake -S "$VARNOCK_ROOT" -B "$BUILD_DIR" --preset mingw >/dev/null
  cmake --build "$BUILD_DIR" -j2 "$@"
}

# use_prefix DIR [desktop]: makes DIR the Wine prefix, initialising it once,
# and starts its server outside any pipe of ours so later wine processes
# start at once. With "desktop", every window lives on one Wine desktop
# instead of being an X window of its own: without a window manager, Wine
# otherwise waits seconds for X to show or hide each top-level window.
use_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "initialising Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 </dev/null
    wineserver -w
  fi
  wineserver -p
  # A crashing program ends at once instead of waiting in the debugger.
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winedbg.exe /d '' /f >/dev/null 2>&1 </dev/null
  if [ "${2:-}" = desktop ] &&
     ! wine reg query 'HKCU\Software\Wine\Explorer' /v Desktop </dev/null 2>/dev/null | grep -q Default; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1 </dev/null
    # The desktop process started by the commands above read the setting
    # before it was there: started again, it makes the desktop. Without it
    # each top-level window shown or hidden waits up to 2 s for X.
    wineserver -k
    wineserver -w
    wineserver -p
  fi
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

stop_prefix() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  return 0
}

# start_display [WxH]: an Xvfb of our own, 1280x800 unless told, on the first
# free display number.
XVFB_PID=
start_display() {
  local n=90 size=${1:-1280x800}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  log "Xvfb did not start"
  return 1
}

stop_display() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  return 0
}

# show_on_desktop EXE [NAME] [WxH]: starts EXE on a Wine desktop of its own
# (so Wine draws the window frames), named "Varnock" and 1024x640 unless
# told, and returns once its window has had time to fill, with the desktop's
# X window in DESKTOP_WINDOW.
DESKTOP_WINDOW=
show_on_desktop() {
  local name=${2:-Varnock}
  wine explorer "/desktop=$name,${3:-1024x640}" "$1" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 150); do
    DESKTOP_WINDOW=$(xwininfo -name "$name - Wine desktop" 2>/dev/null | awk '/Window id:/ {print $4}' || true)
    [ -n "$DESKTOP_WINDOW" ] && break
    sleep 0.1
  done
  sleep "${VARNOCK_SETTLE_SECONDS:-4}"
}
