#!/usr/bin/env bash
# A private Wine session for running and testing: a prefix kept in the build folder (32- or 64-bit, as
# host-arch.sh says), an Xvfb display on a number that Xvfb picks itself, and a persistent wineserver.
#   scripts/wine-session.sh start BUILD_DIR   prints the display (":N")
#   scripts/wine-session.sh stop BUILD_DIR    stops what start started, by PID
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:?usage: wine-session.sh start|stop BUILD_DIR}
build=$(realpath -m "${2:?usage: wine-session.sh start|stop BUILD_DIR}")
arch=$("$here/host-arch.sh" "$build")
source "$here/wine-env.sh"

prefix_ok() {
  [ -f "$WINEPREFIX/.twinsift-ready" ] && [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows" ] &&
    grep -q "^#arch=$WINEARCH" "$WINEPREFIX/system.reg"
}

stop_pid() {
  local file=$1
  [ -f "$file" ] || return 0
  local pid; pid=$(cat "$file")
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$file"
}

case "$cmd" in
start)
  mkdir -p "$session"
  # Leftovers of an earlier session that was not stopped.
  stop_pid "$session/wineserver.pid"
  stop_pid "$session/xvfb.pid"

  exec 3>"$session/display.num"
  # TWINSIFT_SCREEN: a larger screen, for windows drawn at a higher density.
  Xvfb -displayfd 3 -screen 0 "${TWINSIFT_SCREEN:-1024x768x24}" -nolisten tcp >"$session/xvfb.log" 2>&1 &
  echo $! >"$session/xvfb.pid"
  exec 3>&-
  for _ in $(seq 100); do [ -s "$session/display.num" ] && break; sleep 0.05; done
  [ -s "$session/display.num" ] || { echo "wine-session: Xvfb did not start" >&2; cat "$session/xvfb.log" >&2; exit 1; }
  display=":$(tr -d '[:space:]' <"$session/display.num")"
  echo "$display" >"$session/display"
  export DISPLAY=$display

  if ! prefix_ok; then
    echo "wine-session: making the Wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i >"$session/wineboot.log" 2>&1
    # Without a window manager, hiding a top-level window stalls unless Wine manages none of them.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$session/wineboot.log" 2>&1
    wineserver -w
    touch "$WINEPREFIX/.twinsift-ready"
  fi
  # "MS Sans Serif" where Windows keeps it: Wine's bitmap font then serves every height, as on Windows,
  # instead of a scalable stand-in. Tahoma is the dialog face above 120 dpi, and Marlett draws the caption
  # buttons; Wine finds neither in the folder where Debian puts them.
  for font in sserife.fon tahoma.ttf tahomabd.ttf marlett.ttf; do
    cp -n "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  done
  wineserver -f -p >"$session/wineserver.log" 2>&1 &
  echo $! >"$session/wineserver.pid"
  # Start Wine's own helper processes now, with their output going nowhere.
  "$wine" wineboot >/dev/null 2>&1 </dev/null
  # Wine links the profile's Desktop and Documents to the host's home, which every session shares; what the
  # setup puts on the desktop must stay inside this prefix.
  for folder in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
    if [ -L "$folder" ]; then rm "$folder"; mkdir "$folder"; fi
  done
  echo "$display"
  ;;
stop)
  if [ -f "$session/wineserver.pid" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  stop_pid "$session/wineserver.pid"
  stop_pid "$session/xvfb.pid"
  rm -f "$session/display" "$session/display.num"
  ;;
*)
  echo "usage: wine-session.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
