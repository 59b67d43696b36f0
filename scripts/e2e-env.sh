#!/usr/bin/env bash
# The environment of the end-to-end tests: an Xvfb display, a fresh Wine
# prefix with one shared 1024x768 virtual desktop, and a stand-in browser.
#
# As a command:
#   scripts/e2e-env.sh start STATE_DIR PE_FILE [--dpi N]
#                                                set everything up (PE_FILE picks the Wine binary;
#                                                --dpi sets the prefix's screen DPI, default 96)
#   scripts/e2e-env.sh stop STATE_DIR            stop what start started
#   scripts/e2e-env.sh exec STATE_DIR CMD...     run CMD inside the environment
# Sourced, it defines e2e_env_start, e2e_env_stop and e2e_env_load (the
# last one exports WINE, WINEPREFIX, DISPLAY, ... from STATE_DIR/env.sh and
# puts the stand-in xdg-open first on PATH).
#
# STATE_DIR holds: env.sh, prefix/, bin/xdg-open, logs. start stops a
# previous run's leftovers in the same STATE_DIR first. Only processes that
# start itself started are ever stopped: Xvfb by its pid, Wine through
# `wineserver -k` with this prefix.

E2E_DESKTOP_NAME=pelvrin-e2e
E2E_DESKTOP_SIZE=1024x768

e2e__log() { printf '[e2e-env] %s\n' "$*" >&2; }

e2e__now() { date +%s.%N; }
e2e__since() { awk -v a="$1" -v b="$(e2e__now)" 'BEGIN { printf "%.1f", b - a }'; }

# Prints "WINE WINEARCH WINESERVER" for a PE file: 64-bit Wine for PE32+,
# the 32-bit `wine` for PE32 (which needs a host that runs 32-bit code).
e2e__wine_for() {
  local kind
  kind=$(file -b "$1") || return 1
  case "$kind" in
    PE32+*)
      local wine64=/usr/lib/wine/wine64
      [ -x "$wine64" ] || wine64=$(command -v wine64) || { e2e__log "no wine64"; return 1; }
      local server=/usr/lib/wine/wineserver64
      [ -x "$server" ] || server=$(command -v wineserver) || return 1
      echo "$wine64 win64 $server" ;;
    PE32*)
      local wine32
      wine32=$(command -v wine) || { e2e__log "no wine"; return 1; }
      local server=/usr/lib/wine/wineserver32
      [ -x "$server" ] || server=$(command -v wineserver) || return 1
      echo "$wine32 win32 $server" ;;
    *) e2e__log "not a PE file: $1 ($kind)"; return 1 ;;
  esac
}

# True when PID is alive and is an Xvfb started the way e2e_env_start starts it.
e2e__is_xvfb() {
  [ -n "$1" ] && [ -r "/proc/$1/cmdline" ] &&
    tr '\0' ' ' <"/proc/$1/cmdline" | grep -q '^[^ ]*Xvfb -displayfd '
}

e2e_env_load() {
  local state=${1:?state dir}
  [ -r "$state/env.sh" ] || { e2e__log "no environment in $state (run start first)"; return 1; }
  state=$(cd "$state" && pwd)
  # shellcheck disable=SC1091
  . "$state/env.sh"
  export WINE WINEARCH WINEPREFIX WINESERVER DISPLAY WINEDEBUG=-all
  case ":$PATH:" in
    *":$state/bin:"*) ;;
    *) export PATH="$state/bin:$PATH" ;;
  esac
}

e2e_env_stop() {
  local state=${1:?state dir}
  [ -r "$state/env.sh" ] || return 0
  (
    # shellcheck disable=SC1091
    . "$state/env.sh"
    if [ -n "$WINEPREFIX" ] && [ -d "$WINEPREFIX" ]; then
      WINEPREFIX=$WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
    fi
    if e2e__is_xvfb "$E2E_XVFB_PID"; then
      kill "$E2E_XVFB_PID" 2>/dev/null
      for _ in $(seq 50); do e2e__is_xvfb "$E2E_XVFB_PID" || break; sleep 0.1; done
      e2e__is_xvfb "$E2E_XVFB_PID" && kill -9 "$E2E_XVFB_PID" 2>/dev/null
    fi
    true
  )
  rm -f "$state/env.sh"
  e2e__log "stopped"
}

e2e_env_start() {
  local state=${1:?state dir} pe=${2:?PE file} dpi=${3:-}
  local t0 t
  t0=$(e2e__now)
  mkdir -p "$state" || return 1
  state=$(cd "$state" && pwd)
  e2e_env_stop "$state"

  local wine_info wine arch server
  wine_info=$(e2e__wine_for "$pe") || return 1
  read -r wine arch server <<<"$wine_info"

  # Xvfb on a display it picks itself (-displayfd), so runs never collide.
  rm -f "$state/display"
  Xvfb -displayfd 3 -screen 0 "${E2E_DESKTOP_SIZE}x24" -nolisten tcp -noreset \
    3>"$state/display" >"$state/xvfb.log" 2>&1 </dev/null &
  local xvfb_pid=$!
  local n=
  for _ in $(seq 100); do
    n=$(tr -dc 0-9 <"$state/display" 2>/dev/null)
    [ -n "$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$n" ] || ! e2e__is_xvfb "$xvfb_pid"; then
    e2e__log "Xvfb did not start; see $state/xvfb.log"
    kill "$xvfb_pid" 2>/dev/null
    return 1
  fi

  cat >"$state/env.sh" <<EOF
WINE='$wine'
WINEARCH='$arch'
WINESERVER='$server'
WINEPREFIX='$state/prefix'
DISPLAY=':$n'
E2E_XVFB_PID='$xvfb_pid'
EOF
  e2e__log "Xvfb pid $xvfb_pid on :$n (${E2E_DESKTOP_SIZE})"

  # The stand-in browser: records one line per call (argument count, then
  # the arguments, tab-separated) in $PELVRIN_E2E_BROWSER_LOG, opens nothing.
  mkdir -p "$state/bin"
  cat >"$state/bin/xdg-open" <<EOF
#!/bin/sh
log=\${PELVRIN_E2E_BROWSER_LOG:-$state/browser.log}
{ printf '%s' "\$#"; for a in "\$@"; do printf '\t%s' "\$a"; done; printf '\n'; } >>"\$log"
EOF
  chmod +x "$state/bin/xdg-open"

  # A fresh prefix.
  t=$(e2e__now)
  rm -rf "$state/prefix"
  (
    e2e_env_load "$state" || exit 1
    # No Mono/Gecko installers and no menu entries in a throwaway prefix.
    export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
    "$WINE" wineboot -i >"$state/wineboot.log" 2>&1 </dev/null || exit 1
    cat >"$state/settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$E2E_DESKTOP_NAME"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$E2E_DESKTOP_NAME"="$E2E_DESKTOP_SIZE"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]
"winemenubuilder.exe"=""
EOF
    if [ -n "$dpi" ]; then
      # Both places that Windows and Wine read the screen's DPI from.
      cat >>"$state/settings.reg" <<EOF

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$dpi")

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]
"LogPixels"=dword:$(printf '%08x' "$dpi")
EOF
    fi
    "$WINE" regedit /S "Z:${state//\//\\}\\settings.reg" >>"$state/wineboot.log" 2>&1 </dev/null
    # Output to files only: Wine's helper processes inherit it and may
    # outlive the command, which would hold a pipe open.
    "$WINE" reg query 'HKCU\Software\Wine\Explorer' /v Desktop >"$state/reg-query.log" 2>&1 </dev/null
    grep -q "$E2E_DESKTOP_NAME" "$state/reg-query.log" ||
      { echo "the registry settings did not take" >>"$state/wineboot.log"; exit 1; }
  ) || { e2e__log "making the Wine prefix failed; see $state/wineboot.log"; return 1; }
  e2e__log "prefix $state/prefix ($arch, $wine${dpi:+, $dpi DPI}) made in $(e2e__since "$t") s"
  e2e__log "ready in $(e2e__since "$t0") s"
}

# Run as a command unless sourced.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  cmd=${1:-}
  case "$cmd" in
    start) dpi=
           if [ $# -eq 5 ] && [ "$4" = --dpi ]; then dpi=$5; set -- "$1" "$2" "$3"; fi
           [ $# -eq 3 ] && [[ "$dpi" =~ ^[0-9]*$ ]] ||
             { echo "usage: $0 start STATE_DIR PE_FILE [--dpi N]" >&2; exit 2; }
           e2e_env_start "$2" "$3" "$dpi" || { e2e_env_stop "$2"; exit 1; } ;;
    stop)  [ $# -eq 2 ] || { echo "usage: $0 stop STATE_DIR" >&2; exit 2; }
           e2e_env_stop "$2" ;;
    exec)  [ $# -ge 3 ] || { echo "usage: $0 exec STATE_DIR CMD..." >&2; exit 2; }
           e2e_env_load "$2" || exit 1; shift 2; exec "$@" ;;
    *) echo "usage: $0 start STATE_DIR PE_FILE [--dpi N] | stop STATE_DIR | exec STATE_DIR CMD..." >&2; exit 2 ;;
  esac
fi
