# Drives a real program on an X display as a person does: real X mouse and keyboard
# events from xdotool, and what the program shows read back from the description of its
# windows that it keeps in a file (MORVANE_STATE_DUMP). Sourced by the scenarios.
set -euo pipefail
export QT_QPA_PLATFORM=xcb

STATE=$(mktemp)
LOG=$(mktemp)
PROGRAM_PID=
WM_PID=
step_no=0

finish() {
  local status=$?
  if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then kill "$PROGRAM_PID" 2>/dev/null || true; fi
  if [ -n "$WM_PID" ]; then kill "$WM_PID" 2>/dev/null || true; fi
  rm -f "$STATE" "$LOG"
  exit "$status"
}
trap finish EXIT

fail() {
  echo "FAIL at step $step_no: $*" >&2
  echo "--- what the program showed:" >&2
  cat "$STATE" >&2 || true
  echo "--- its output:" >&2
  cat "$LOG" >&2 || true
  exit 1
}

step() {
  step_no=$((step_no + 1))
  echo "[$SECONDS s] $step_no. $*"
}

# With MORVANE_E2E_WM=<window manager> the program runs under that window manager, which
# decides which window is active and may move windows, as on a real desktop.
start_program() {
  if [ -n "${MORVANE_E2E_WM:-}" ]; then
    "$MORVANE_E2E_WM" >/dev/null 2>&1 &
    WM_PID=$!
    sleep 1
  fi
  MORVANE_STATE_DUMP=$STATE "$@" >"$LOG" 2>&1 &
  PROGRAM_PID=$!
}

# Lines of the active window (its controls), or of the window named $1.
window_lines() {
  awk -F'\t' -v want="${1:-}" '
    $1 == "window" { inside = (want == "" ? $4 == "active" : $2 == want); next }
    inside' "$STATE" 2>/dev/null
}

# Waits until the dump has a line matching the extended regex (timeout in seconds).
wait_for() {
  local pattern=$1 timeout=${2:-30} end=$((SECONDS + ${2:-30}))
  until grep -qE -- "$pattern" "$STATE" 2>/dev/null; do
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for: $pattern"
    [ "$SECONDS" -lt "$end" ] || fail "nothing showed '$pattern' within $timeout s"
    sleep 0.2
  done
}

# Waits until the active window is the one named $1.
wait_window() { wait_for "^window	$1	.*	active\$" "${2:-30}"; }

# Waits until no line matches.
wait_gone() {
  local pattern=$1 end=$((SECONDS + ${2:-30}))
  while grep -qE -- "$pattern" "$STATE" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "'$pattern' still shown after ${2:-30} s"
    sleep 0.2
  done
}

# The centre of the enabled control named $1 in the active window, once it is there.
where() {
  local end=$((SECONDS + ${2:-30})) at
  while :; do
    at=$(window_lines | awk -F'\t' -v n="$1" '$1 == n && $4 == "on" { print $3; exit }')
    [ -n "$at" ] && { echo "$at"; return; }
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for control $1"
    [ "$SECONDS" -lt "$end" ] || fail "no enabled control $1 in the active window"
    sleep 0.2
  done
}

# Real mouse clicks on a named control of the active window.
click() {
  local at
  at=$(where "$1" "${2:-30}")
  # (no --sync: it waits for a motion that never comes when the pointer is already there)
  # shellcheck disable=SC2086
  xdotool mousemove $at sleep 0.1 click 1
  sleep 0.3
}
double_click() {
  local at
  at=$(where "$1")
  # shellcheck disable=SC2086
  xdotool mousemove $at sleep 0.1 click --repeat 2 --delay 80 1
  sleep 0.3
}

# Real key strokes to whatever has the keyboard.
type_text() { xdotool type --delay 60 "$1"; sleep 0.3; }
key() { xdotool key --delay 80 "$@"; sleep 0.3; }

# The student form that follows an accepted examination password: surname, Tab, name, Return.
name_student() {
  type_text "Ivanov"
  key Tab
  type_text "Ivan"
  key Return
}

# Yes to a question whose default is No: the focus back from "Нет" to "Да", then pressed.
confirm_yes() {
  wait_for $'^window\t\t.*\tactive$' 20
  key shift+Tab space
}

# The marked results window that an accepted supervisor's password opens, closed unprinted.
close_results() {
  wait_window Frm_Exam_Results
  click Cmd_Close
  confirm_yes
}

# What the control named $1 of the active window (or of window $2) shows.
shown() { window_lines "${2:-}" | awk -F'\t' -v n="$1" '$1 == n { print $5; exit }'; }

expect_shown() {
  local name=$1 want=$2 got
  got=$(shown "$name" "${3:-}")
  [[ "$got" == *"$want"* ]] || fail "$name shows '$got', expected '$want'"
}

# The program must still be running, then end it the way a person would have.
expect_exit() {
  local end=$((SECONDS + ${2:-15}))
  while kill -0 "$PROGRAM_PID" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "the program did not end"
    sleep 0.2
  done
  local status=0
  wait "$PROGRAM_PID" || status=$?
  PROGRAM_PID=
  [ "$status" -eq "${1:-0}" ] || fail "the program ended with status $status"
}

# The title of the window named $1 must hold $2.
expect_title() {
  local got
  got=$(awk -F'\t' -v n="$1" '$1 == "window" && $2 == n { print $3; exit }' "$STATE")
  [[ "$got" == *"$2"* ]] || fail "window $1 is titled '$got', expected '$2'"
}

# Cell (row $2, column $3, from 0) of the table named $1 that has $4 columns. Cells that
# hold no item are left out of the description: read only rows above the first such.
cell() { shown "$1" | awk -F'|' -v i=$(($2 * $4 + $3 + 1)) '{ print $i }'; }

# The current item of the list named $1 (marked with * in the description).
current_item() { shown "$1" | tr '|' '\n' | sed -n 's/^\*//p'; }

# Waits until the control named $1 of the active window shows $2.
wait_shown() {
  local end=$((SECONDS + ${3:-10}))
  until [[ "$(shown "$1")" == *"$2"* ]]; do
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for $1 to show '$2'"
    [ "$SECONDS" -lt "$end" ] || fail "$1 shows '$(shown "$1")', expected '$2'"
    sleep 0.2
  done
}

# A real click on the enabled control named $2 of the window named $1, whether or not
# Qt counts that window as its active one.
click_in() {
  local at end=$((SECONDS + 30))
  while :; do
    at=$(window_lines "$1" | awk -F'\t' -v n="$2" '$1 == n && $4 == "on" { print $3; exit }')
    [ -n "$at" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for control $2 of $1"
    [ "$SECONDS" -lt "$end" ] || fail "no enabled control $2 in window $1"
    sleep 0.2
  done
  # shellcheck disable=SC2086
  xdotool mousemove $at sleep 0.1 click 1
  sleep 0.3
}
