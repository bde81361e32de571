# Sourced by the scripts: build paths and the environment of every Wine call.
VELTRANO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELTRANO_BUILD_DIR=$VELTRANO_ROOT/build
VELTRANO_WINE_DIR=$VELTRANO_BUILD_DIR/wine
VELTRANO_SHARED_PREFIX=$VELTRANO_WINE_DIR/prefix
VELTRANO_WINE_STAMP=$VELTRANO_WINE_DIR/prepared.stamp

# The environment of every Wine call, as env(1) arguments. The locale variables go
# only to the child: bash itself cannot load the project-local ja_JP.UTF-8 and would warn.
veltrano_wine_env_args() {
  VELTRANO_WINE_ENV=(
    WINEPREFIX="${VELTRANO_WINEPREFIX:-$VELTRANO_SHARED_PREFIX}"
    WINEARCH=win64
    WINEDEBUG=-all
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    LOCPATH="$VELTRANO_WINE_DIR/locale"
    LANG=ja_JP.UTF-8
    LC_ALL=ja_JP.UTF-8
  )
}

# Runs "$@" with the project's Wine environment.
veltrano_wine_env() {
  veltrano_wine_env_args
  env "${VELTRANO_WINE_ENV[@]}" "$@"
}

# Starts a persistent wineserver for the prefix and boots it, all on /dev/null:
# Wine's helper processes (services, explorer) inherit the stdio of whoever starts
# them and would otherwise hold a caller's output pipe (ctest, ninja) open.
# $1: seconds the server lingers after its last process ("" = until killed).
# Returns 1 when a server was already running.
veltrano_wine_start() {
  local prefix=${VELTRANO_WINEPREFIX:-$VELTRANO_SHARED_PREFIX} lock rc=0
  mkdir -p "$prefix"
  # Parallel callers wait until the first has booted; Wine must not inherit the lock.
  exec {lock}>"$prefix/.veltrano-start.lock"
  flock "$lock"
  veltrano_wine_env wineserver -p"${1:-}" </dev/null >/dev/null 2>&1 {lock}>&- || rc=$?
  if [ "$rc" -eq 0 ]; then
    veltrano_wine_env wine wineboot </dev/null >/dev/null 2>&1 {lock}>&- || rc=3
    # Any window call starts explorer (the desktop); do it now, detached.
    veltrano_wine_env wine rundll32.exe user32.dll,GetDesktopWindow \
      </dev/null >/dev/null 2>&1 {lock}>&- || rc=3
  fi
  exec {lock}>&-
  case "$rc" in
    0) return 0 ;;
    2) return 1 ;;  # wineserver: already running
    *) echo "could not start Wine for $prefix (status $rc)" >&2; return 2 ;;
  esac
}

# Keeps the prefix's desktop process (explorer) running until its server stops, started with
# quiet standard handles. Otherwise it ends a second after its last user, and the next test
# that touches a window starts it again, handing it the test's output pipe: ctest then waits
# for that pipe long after the test has ended, while later tests keep the desktop in use.
# Needs the built driver. Returns 1 when the desktop could not be joined within 30 s.
veltrano_wine_hold_desktop() {
  local ready=$VELTRANO_WINE_DIR/desktop-held.$$
  rm -f "$ready"
  veltrano_wine_env wine "$VELTRANO_BUILD_DIR/tools/driver/vdriver.exe" hold-desktop --ready-file "$ready" \
    </dev/null >/dev/null 2>&1 &
  for _ in $(seq 600); do
    [ -e "$ready" ] && break
    sleep 0.05
  done
  [ -e "$ready" ] || { echo "could not hold the Wine desktop open" >&2; return 1; }
  rm -f "$ready"
}

# Stops the prefix's wineserver and its processes and waits until they are gone.
veltrano_wine_stop() {
  veltrano_wine_env wineserver -k </dev/null >/dev/null 2>&1 || true
  veltrano_wine_env wineserver -w </dev/null >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display (Xvfb picks it and reports it through -displayfd).
# $1: a file for the display number. Sets VELTRANO_XVFB_PID and exports DISPLAY.
# $2: Xvfb's log file (default /dev/null). Returns 1 when Xvfb did not start.
veltrano_start_xvfb() {
  local display_file=$1 log=${2:-/dev/null}
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$display_file" </dev/null >"$log" 2>&1 &
  VELTRANO_XVFB_PID=$!
  for _ in $(seq 600); do
    [ -s "$display_file" ] && break
    kill -0 "$VELTRANO_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$display_file" ] || return 1
  export DISPLAY=":$(head -n1 "$display_file")"
}
