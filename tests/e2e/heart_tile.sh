#!/usr/bin/env bash
# The selection window's heart picture starts the heart program lying beside the main
# program, chosen with the keyboard and clicked with the mouse.
# Usage: heart_tile.sh <main program>
source "$(dirname "$0")/lib.sh"
start_program "$1"

# The heart program's home screen comes up (the heart program writes its own windows into
# the same state file, so it is looked for on the display); then that program is ended.
heart_program_started() {
  local id pid
  id=$(timeout 30 xdotool search --sync --name '^Morvane - Сердце E1\.00R$' | head -1) ||
    fail "the heart program did not start"
  pid=$(xdotool getwindowpid "$id")
  kill "$pid"
  while kill -0 "$pid" 2>/dev/null; do sleep 0.2; done
}

step "splash clicked away"
wait_window Frm_morvane
click Img_Splash
wait_window Frm_Selection
heart_at=$(where Img_heart)

step "the heart picture chosen with Tab and started with Space"
key Tab Tab Tab space
heart_program_started

step "the heart picture clicked"
# shellcheck disable=SC2086
xdotool mousemove $heart_at sleep 0.1 click 1
heart_program_started
kill -0 "$PROGRAM_PID" || fail "the main program ended"
echo "heart tile: passed in $SECONDS s"
