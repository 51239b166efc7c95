# Sourced by the test runners: a persistent wineserver per prefix, tied to one X server.
#
# A persistent server keeps Wine's background processes (services, the desktop window) alive
# between test exes, so they are started once, with no ctest pipe open, and each exe starts in
# milliseconds. A server left from an X server that is gone breaks every later window, so the
# server's X server is written beside the prefix and a server of another one is replaced.

# The X server of this run: the display and, under xvfb-run, its own authority file.
hk_display_id() { echo "${DISPLAY:-} ${XAUTHORITY:-}"; }

# hk_server_up <prefix> [persist-seconds]: makes sure a persistent server of this X server runs
# for the prefix (default: until stopped).
hk_server_up() {
  local prefix=$1 persist=${2:-} marker=$1/.hk-display rc=0
  WINEPREFIX=$prefix wineserver -p$persist </dev/null >/dev/null 2>&1 || rc=$?
  if [ $rc = 2 ]; then
    [ "$(cat "$marker" 2>/dev/null)" = "$(hk_display_id)" ] && return 0
    WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w </dev/null >/dev/null 2>&1 || true
    rc=0
    WINEPREFIX=$prefix wineserver -p$persist </dev/null >/dev/null 2>&1 || rc=$?
  fi
  [ $rc = 0 ] || { echo "wine-server: cannot start a wineserver for $prefix" >&2; return 1; }
  # Starts the background processes now, with no caller's pipes open.
  WINEPREFIX=$prefix wine wineboot </dev/null >/dev/null 2>&1 || true
  hk_display_id >"$marker"
}

# hk_server_down <prefix>: stops the prefix's server and every process of it.
hk_server_down() {
  WINEPREFIX=$1 wineserver -k </dev/null >/dev/null 2>&1 || true
  rm -f "$1/.hk-display"
}
