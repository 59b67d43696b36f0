#!/usr/bin/env bash
# Runs one end-to-end case under Wine, inside the environment made by
# scripts/e2e-env.sh start.
#
#   run_case.sh STATE_DIR DRIVER_EXE PROGRAM_EXE CASE [options] [-- DRIVER_ARGS...]
#     --lang LOCALE        LANG/LC_ALL for Wine (default zh_CN.UTF-8)
#     --screenshots DIR    take the screenshots the driver asks for into DIR
#     --timeout SECONDS    kill the driver after this long (default 200)
#
# The driver's own lines go to stdout. Wine's stderr (driver.err) and the
# program's own output (program.log, with Wine's crash reports) are kept
# in the case's work directory, STATE_DIR/cases/CASE-LANG/, and their last
# lines are shown when the case fails.
# Screenshot requests ("READY-FOR-SCREENSHOT NAME L T W H" on the driver's
# stdout) are answered with DIR/NAME.png (whole screen) and
# DIR/NAME-crop.png (the given rectangle), then the driver is told to go on.
set -u

usage() { echo "usage: $0 STATE_DIR DRIVER_EXE PROGRAM_EXE CASE [--lang L] [--screenshots DIR] [--timeout S] [-- ARGS...]" >&2; exit 2; }
[ $# -ge 4 ] || usage
state=$1 driver=$2 program=$3 case_name=$4
shift 4
locale=zh_CN.UTF-8 shots='' timeout_s=200
while [ $# -gt 0 ]; do
  case "$1" in
    --lang) locale=$2; shift 2 ;;
    --screenshots) shots=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --) shift; break ;;
    *) usage ;;
  esac
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=/dev/null
. "$here/../../scripts/e2e-env.sh"
e2e_env_load "$state" || exit 1

export LANG=$locale LC_ALL=$locale
work="$state/cases/$case_name-${locale%%.*}"
rm -rf "$work"
mkdir -p "$work"
export PELVRIN_E2E_BROWSER_LOG="$work/browser.log"
# Standard output and error of the program under test (Wine's crash
# reports among them).
export PELVRIN_E2E_PROGRAM_LOG="$work/program.log"
if [ -n "$shots" ]; then
  mkdir -p "$shots"
  shots=$(cd "$shots" && pwd)
  export PELVRIN_E2E_SCREENSHOT_DONE="$work/screenshot.done"
else
  unset PELVRIN_E2E_SCREENSHOT_DONE
fi

take_screenshot() {  # NAME L T W H
  local name=$1 l=$2 t=$3 w=$4 h=$5
  if import -display "$DISPLAY" -window root "$shots/$name.png" 2>"$work/import.log" &&
     convert "$shots/$name.png" -crop "${w}x${h}+${l}+${t}" +repage "$shots/$name-crop.png" \
       2>>"$work/import.log"; then
    echo "[run_case] screenshot $shots/$name.png, cropped to ${w}x${h}+${l}+${t} as $shots/$name-crop.png"
  else
    echo "[run_case] screenshot $name failed: $(cat "$work/import.log")"
  fi
  : >"$PELVRIN_E2E_SCREENSHOT_DONE"
}

echo "[run_case] $case_name with LANG=$locale, $WINE on $DISPLAY, prefix $WINEPREFIX"
start=$(date +%s.%N)
# The driver writes to files, not to a pipe: Wine's helper processes
# (the desktop, services) inherit its output and may outlive it, and a pipe
# would then stay open. The output is followed line by line to answer
# screenshot requests.
out="$work/driver.out" err="$work/driver.err"
: >"$out"
: >"$err"
timeout -k 10 "$timeout_s" "$WINE" "$driver" "$case_name" "$program" "$@" >"$out" 2>"$err" </dev/null &
pid=$!
shown=0
follow() {
  local total line
  total=$(wc -l <"$out")
  [ "$total" -gt "$shown" ] || return 0
  while IFS= read -r line; do
    line=${line%$'\r'}
    printf '%s\n' "$line"
    case "$line" in
      READY-FOR-SCREENSHOT\ *)
        if [ -n "$shots" ]; then
          # shellcheck disable=SC2086
          take_screenshot ${line#READY-FOR-SCREENSHOT }
        fi ;;
    esac
  done < <(sed -n "$((shown + 1)),${total}p" "$out")
  shown=$total
}
while kill -0 "$pid" 2>/dev/null; do
  follow
  sleep 0.1
done
wait "$pid"
status=$?
follow
# A last line without a newline.
tail -c 1 "$out" | grep -q . && { tail -n 1 "$out"; echo; }
elapsed=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
case $status in
  0) echo "[run_case] $case_name passed in $elapsed s" ;;
  124|137)
    echo "[run_case] $case_name killed after $timeout_s s (timeout); ending every process of this prefix"
    "$WINESERVER" -k 2>/dev/null
    status=1 ;;
  *) echo "[run_case] $case_name failed (driver exit $status) in $elapsed s" ;;
esac
if [ "$status" -ne 0 ]; then
  if [ -s "$err" ]; then
    echo "[run_case] last lines of $err:"
    tail -n 20 "$err"
  fi
  if [ -s "$PELVRIN_E2E_PROGRAM_LOG" ]; then
    echo "[run_case] first lines of $PELVRIN_E2E_PROGRAM_LOG (crash reports start there):"
    head -n 40 "$PELVRIN_E2E_PROGRAM_LOG"
  fi
fi
exit "$status"
