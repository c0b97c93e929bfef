# Drives a real program on an X display as a person does: real X mouse and keyboard
# events from xdotool, and what the program shows read back from the description of its
# windows that it keeps in a file (MORVANE_STATE_DUMP). Sourced by the scenarios.
set -euo pipefail
export QT_QPA_PLATFORM=xcb

STATE=$(mktemp)
LOG=$(mktemp)
# The examination journal in a folder of the run's own, not the user's.
DATA_HOME=$(mktemp -d)
export XDG_DATA_HOME=$DATA_HOME
PROGRAM_PID=
WM_PID=
step_no=0

finish() {
  local status=$?
  if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then kill "$PROGRAM_PID" 2>/dev/null || true; fi
  if [ -n "$WM_PID" ]; then kill "$WM_PID" 2>/dev/null || true; fi
  rm -rf "$STATE" "$LOG" "$DATA_HOME"
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
wait_window() { wait_for "^window	$1	[^	]*	active	" "${2:-30}"; }

# Whether window $1 is window $2 or holds it (a window manager frames each window).
holds_window() {
  local id=$2 parent
  while [ -n "$id" ]; do
    [ "$id" = "$1" ] && return 0
    parent=$(xwininfo -children -id "$id" 2>/dev/null | awk '/Parent window id:/ { print; exit }')
    [[ -z "$parent" || "$parent" == *"root window"* ]] && return 1
    id=$(($(awk '{ print $4 }' <<<"$parent")))
  done
  return 1
}

# The pointer onto "x y id", once the window of that id is the one under it there: until
# then a click would go to the window that covers it (one that has just come up may take a
# moment to reach the top).
point_at() {
  local end=$((SECONDS + 10)) under
  # shellcheck disable=SC2086
  xdotool mousemove ${1% *}
  while :; do
    under=$(xdotool getmouselocation --shell | awk -F= '$1 == "WINDOW" { print $2 }')
    holds_window "$under" "${1##* }" && return
    [ "$SECONDS" -lt "$end" ] || fail "the point ${1% *} of window ${1##* } is covered by window $under"
    sleep 0.2
  done
}

# Waits until no line matches.
wait_gone() {
  local pattern=$1 end=$((SECONDS + ${2:-30}))
  while grep -qE -- "$pattern" "$STATE" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "'$pattern' still shown after ${2:-30} s"
    sleep 0.2
  done
}

# The centre of the enabled control named $1 in the active window, once it is there, and
# that window's id ("x y id"). With field 5 as $3, the control is the one that shows $1 (a
# button of a message box).
locate() {
  local end=$((SECONDS + ${2:-30})) at field=${3:-1}
  while :; do
    at=$(awk -F'\t' -v n="$1" -v f="$field" '
      $1 == "window" { inside = ($4 == "active"); id = $5; next }
      inside && $f == n && $4 == "on" { print $3, id; exit }' "$STATE" 2>/dev/null)
    [ -n "$at" ] && { echo "$at"; return; }
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for control $1"
    [ "$SECONDS" -lt "$end" ] || fail "no enabled control $1 in the active window"
    sleep 0.2
  done
}

# Its centre only ("x y").
where() {
  local at
  at=$(locate "$@")
  echo "${at% *}"
}

# Real mouse clicks on a named control of the active window (with field 5 as $3: on the
# control that shows $1).
click() {
  local at
  at=$(locate "$1" "${2:-30}" "${3:-1}")
  point_at "$at"
  xdotool sleep 0.1 click 1
  sleep 0.3
}
double_click() {
  local at
  at=$(locate "$1")
  point_at "$at"
  xdotool sleep 0.1 click --repeat 2 --delay 80 1
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

# "Да" clicked in the question that has just come up (its default is "Нет").
confirm_yes() { click "Да" 20 5; }

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
    at=$(awk -F'\t' -v want="$1" -v n="$2" '
      $1 == "window" { inside = ($2 == want); id = $5; next }
      inside && $1 == n && $4 == "on" { print $3, id; exit }' "$STATE" 2>/dev/null)
    [ -n "$at" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for control $2 of $1"
    [ "$SECONDS" -lt "$end" ] || fail "no enabled control $2 in window $1"
    sleep 0.2
  done
  point_at "$at"
  xdotool sleep 0.1 click 1
  sleep 0.3
}
