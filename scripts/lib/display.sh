# A private X display and a throw-away Wine prefix for the Windows programs.
# Sourced by the scripts; Wine always runs inside the app namespace.

# Starts Xvfb on the first free display number; sets DISPLAY and XVFB_PID.
display_up() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

display_down() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

# Creates a Wine prefix in a temporary folder, inside namespace $1. Wine must
# never fetch Mono or Gecko, and hands the non-client area to the program.
wine_up() {
  local ns=$1
  export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
  WINEPREFIX=$(mktemp -d /tmp/quellan-wine.XXXXXX)
  ip netns exec "$ns" wineboot -i >/dev/null 2>&1
  ip netns exec "$ns" wine reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  # Without a window manager, a managed window makes Wine wait about two
  # seconds whenever it is hidden.
  ip netns exec "$ns" wine reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  ip netns exec "$ns" wineserver -w
}

wine_down() {
  local ns=$1
  [ -n "${WINEPREFIX:-}" ] || return 0
  ip netns exec "$ns" wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  unset WINEPREFIX
}
