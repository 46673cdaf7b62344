# Starts an Xvfb display and one Wine session for this shell and stops both on exit.
# Sourced by the scripts that run windows; sets DISPLAY.
zk_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    zk_xvfb_pid=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$zk_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      trap zk_stop_xvfb EXIT
      return 0
    fi
  done
  echo "xvfb: no free display" >&2
  return 1
}
zk_stop_xvfb() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  [ -n "${zk_xvfb_pid:-}" ] && kill "$zk_xvfb_pid" 2>/dev/null || true
}

# One wineserver and one set of Wine's own service processes for the whole run, started
# here with their output detached: services started by a test would inherit its pipes
# and keep CTest waiting after the test has ended.
zk_start_wine_session() {
  wineserver -p >/dev/null 2>&1 </dev/null || true
  timeout 120 wine wineboot >/dev/null 2>&1 </dev/null || true
}
