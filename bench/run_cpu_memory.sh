#!/usr/bin/env bash
# CPU and memory of the real programs on an X server (Xvfb, the xcb platform a classroom
# runs): each program's busiest screen with its real timers, and each home screen at rest,
# for a minute each. Prints, per screen, the median of the runs of
#   CPU   the process's user+system time over the minute's wall time, in % of one core
#         (/proc/<pid>/stat utime+stime, all its threads; the X server is not counted),
#   peak  the process's peak resident memory at the minute's end (VmHWM), in MB (MiB),
#   grew  its resident memory at the minute's end less at its start (VmRSS), in MB,
# then the heart program's memory with its paper full (bench_heart_full_paper).
#
# Usage: bench/run_cpu_memory.sh [build-dir]
#   RUNS=3 SECONDS_PER_RUN=60   runs per screen and their length
#   ONLY=<regex>                only the screens whose name matches
#   FULL_PAPER_REAL=1           also fill the heart paper in the real program, on its own
#                               100 ms timer (about 28 minutes)
#   KEEP=<folder>               keeps the screenshots and logs there (else a temporary folder)
#
# How a screen is reached: the programs write what they show, with each control's screen
# position, into a file (MORVANE_STATE_DUMP) that tests/e2e/lib.sh reads. That description is
# rebuilt every 150 ms, which itself costs CPU, so it is used only in a first, unmeasured
# run of each screen, which notes where every control is and how long each wait took. The
# measured runs start the program without it and replay the same X clicks at those places,
# waiting for windows by their titles and for the rest as long as the first run needed
# (and half as long again). Each measured run checks at its end that the screen is still
# the one measured and keeps a screenshot from the middle of its minute.
set -euo pipefail

if [ -z "${MORVANE_BENCH_IN_X:-}" ]; then
  export MORVANE_BENCH_IN_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

BUILD=$(cd "${1:-build}" && pwd)
BIN=$BUILD/bin
RUNS=${RUNS:-3}
SECONDS_PER_RUN=${SECONDS_PER_RUN:-60}
ONLY=${ONLY:-.}
OUT=${KEEP:-$(mktemp -d)}
mkdir -p "$OUT"
export LC_ALL=C.UTF-8
HERE=$(cd "$(dirname "$0")" && pwd)
LIB=$HERE/../tests/e2e/lib.sh
TICKS=$(getconf CLK_TCK)

# ---- Driving: the same steps either learn (the first run) or replay (measured runs).

MODE=learn   # or replay
KNOWN=       # file of what the first run learned: key<TAB>value
SCREEN=      # the window the steps act on

remember() { printf '%s\t%s\n' "$1" "$2" >>"$KNOWN"; }
recall() {
  local v
  v=$(awk -F'\t' -v k="$1" '$1 == k { v = $2 } END { print v }' "$KNOWN")
  [ -n "$v" ] || fail "nothing learned about $1"
  echo "$v"
}
now() { date +%s.%N; }
elapsed_since() { echo "$(now) $1" | awk '{ printf "%.2f", $1 - $2 }'; }
# Sleeps until $2 seconds after the moment $1.
sleep_until() {
  local left
  left=$(echo "$1 $2 $(now)" | awk '{ print $1 + $2 - $3 }')
  if awk -v l="$left" 'BEGIN { exit !(l > 0) }'; then sleep "$left"; fi
}
# The title of window $1 as a regular expression, for looking for the window on the display.
title_pattern() { echo "^$(recall "title/$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$"; }

# The window named $1 is (or becomes) the one the steps act on.
screen() {
  SCREEN=$1
  if [ "$MODE" = learn ]; then
    wait_window "$1" 60
    remember "title/$1" "$(awk -F'\t' -v n="$1" '$1 == "window" && $2 == n { print $3; exit }' "$STATE")"
  else
    timeout 60 xdotool search --sync --onlyvisible --name "$(title_pattern "$1")" >/dev/null ||
      fail "window $1 did not show"
    sleep 1
  fi
}

# The centre of control $1 of the current window.
place() {
  if [ "$MODE" = learn ]; then
    local at
    at=$(where "$1" 60)
    remember "$SCREEN/$1" "$at"
    echo "$at"
  else
    recall "$SCREEN/$1"
  fi
}

# shellcheck disable=SC2046
go() { xdotool mousemove $(place "$1") sleep 0.1 click 1; sleep 0.3; }
# shellcheck disable=SC2046
go_twice() { xdotool mousemove $(place "$1") sleep 0.1 click --repeat 2 --delay 80 1; sleep 0.3; }
# The pointer onto control $1, $2 pixels to the right of its centre.
hover() {
  local at
  at=($(place "$1"))
  xdotool mousemove $((at[0] + ${2:-0})) "${at[1]}"
}
# Pressed on control $1, carried to control $2, let go there.
# shellcheck disable=SC2046
drag() {
  xdotool mousemove $(place "$1") sleep 0.1 mousedown 1 sleep 0.2 mousemove $(place "$2") sleep 0.2 mouseup 1
  sleep 0.3
}

# Waits until the description matches $2 (named $1 for the replay).
await() {
  if [ "$MODE" = learn ]; then
    local from
    from=$(now)
    wait_for "$2" 60
    remember "wait/$SCREEN/$1" "$(elapsed_since "$from")"
  else
    sleep "$(recall "wait/$SCREEN/$1" | awk '{ print $1 * 1.5 + 0.5 }')"
  fi
}

# Inside the measured minute: waits until $1 seconds from its start (the first run only
# pauses briefly, to learn the places).
WINDOW_START=0
at_time() {
  if [ "$MODE" = learn ]; then sleep 0.5; else sleep_until "$WINDOW_START" "$1"; fi
}
# The times from $1 to the minute's end in steps of $2 (just $1 in the first run).
times_every() {
  if [ "$MODE" = learn ]; then echo "$1"; else seq "$1" "$2" $((SECONDS_PER_RUN - 1)); fi
}

# ---- The screens. Each has <name>_program, <name>_reach (to the screen) and
# <name>_busy (what happens during the minute; nothing for a screen at rest).

splash_to_selection() {
  screen Frm_morvane
  go Img_Splash
  screen Frm_Selection
}

# The experiment home screen $1 from the picture $2 of the selection, its title panel taken away.
home_from_selection() {
  splash_to_selection
  go "$2"
  screen "$1"
  if [ "$1" = Frm_Rab_main ]; then go logo_frm; else go_twice Frm_logo; fi
}

heart_home() {
  screen Frm_Heart_Main
  go Frm_logo
}

SCREENS=(heart_recording ileum_injections oesophagus_seed rabbit_instillation_torch
         home_heart home_selection home_oesophagus home_ileum home_rabbit)

# Tutorial; adrenaline (the list's first drug) injected once the heart is steady and again
# every 8 s: each acts for 7.5 s, so a drug acts through nearly the whole minute.
heart_recording_program() { echo "$BIN/morvane-heart"; }
heart_recording_reach() {
  heart_home
  go Cmd_Tutorial
  screen Frm_Heart
  await steady $'^Cmd_Inject\t[^\t]*\t[0-9]+ [0-9]+\ton\t'
}
heart_recording_busy() {
  local t
  for t in $(times_every 0 8); do
    at_time "$t"
    go Cmd_Inject
  done
}

# Tutorial; the first dose injected every 4 s (each holds the syringe over the bath for 1 s).
ileum_injections_program() { echo "$BIN/morvane"; }
ileum_injections_reach() {
  home_from_selection Frm_il_main Img_gpig
  go Cmd_Tut
  screen Frm_Ileum
}
ileum_injections_busy() {
  local t
  for t in $(times_every 0 4); do
    at_time "$t"
    go Cmd_inject
  done
}

# Tutorial (Ringer's solution instilled as the screen opens); a seed laid on the oesophagus
# and the stopwatch started, a seed laid again every 15 s so that one always runs (a seed
# laid during a run changes nothing; a run takes 35-42 s).
oesophagus_seed_program() { echo "$BIN/morvane"; }
oesophagus_seed_reach() {
  home_from_selection Frm_Oeso_main Img_frog
  go Cmd_Tut
  screen Frm_Oesophagus
}
oesophagus_seed_busy() {
  at_time 0
  drag Img_Seeds Img_Seed_Drop
  at_time 1
  go Cmd_StartClock
  local t
  for t in $(times_every 15 15); do
    at_time "$t"
    drag Img_Seeds Img_Seed_Drop
  done
}

# Tutorial; the list's first substance (atropine) instilled into the left eye, the torch
# carried on and off the other eye (which narrows its pupil in the light) for the next 25 s
# and put down; then the same with the eyes swapped.
rabbit_instillation_torch_program() { echo "$BIN/morvane"; }
rabbit_instillation_torch_reach() {
  home_from_selection Frm_Rab_main img_rabbit
  go Cmd_Tut
  screen Frm_Rabbit
}
rabbit_instillation_torch_busy() {
  local start eye_button eye t
  for start in 0 30; do
    if [ "$start" = 0 ]; then eye_button=Cmd_LEye eye=Image_REye; else eye_button=Cmd_Reye eye=Image_LEye; fi
    at_time "$start"
    go Cmd_Instill
    go "$eye_button"
    at_time $((start + 5))
    go Image_Torche
    for t in $(times_every $((start + 6)) 3); do
      [ "$t" -lt $((start + 27)) ] || break
      at_time "$t"
      hover "$eye"
      sleep 0.7
      hover "$eye" 4
      sleep 0.8
      hover Image_Torche
    done
    at_time $((start + 28))
    go Image_Torche
  done
}

home_heart_program() { echo "$BIN/morvane-heart"; }
home_heart_reach() { heart_home; }
home_selection_program() { echo "$BIN/morvane"; }
home_selection_reach() { splash_to_selection; }
home_oesophagus_program() { echo "$BIN/morvane"; }
home_oesophagus_reach() { home_from_selection Frm_Oeso_main Img_frog; }
home_ileum_program() { echo "$BIN/morvane"; }
home_ileum_reach() { home_from_selection Frm_il_main Img_gpig; }
home_rabbit_program() { echo "$BIN/morvane"; }
home_rabbit_reach() { home_from_selection Frm_Rab_main img_rabbit; }

# ---- Measuring.

# utime+stime of the process, in clock ticks (the fields after the command's name).
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
# A "Vm...:" line of /proc/<pid>/status, in MiB.
vm_mib() { awk -v f="$2:" '$1 == f { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

# One run of screen $1: learns (MODE=learn) or measures and prints "cpu peak grew".
run_screen() {
  local name=$1 run=$2
  (
    # lib.sh's own state file, log and clean-up, for this run alone.
    source "$LIB"
    set +x
    trap finish EXIT
    local program
    program=$("${name}_program")
    if [ "$MODE" = learn ]; then
      start_program "$program"
    else
      "$program" >"$LOG" 2>&1 &
      PROGRAM_PID=$!
    fi
    "${name}_reach"
    sleep 2
    local pid=$PROGRAM_PID ticks0 rss0 ticks1 wall
    ticks0=$(cpu_ticks "$pid")
    rss0=$(vm_mib "$pid" VmRSS)
    WINDOW_START=$(now)
    local shot=
    if [ "$MODE" = replay ]; then
      (sleep $((SECONDS_PER_RUN / 2)) && import -window root "$OUT/$name.$run.png") &
      shot=$!
    fi
    if declare -F "${name}_busy" >/dev/null; then "${name}_busy"; fi
    [ "$MODE" = learn ] && exit 0
    sleep_until "$WINDOW_START" "$SECONDS_PER_RUN"
    ticks1=$(cpu_ticks "$pid")
    wall=$(elapsed_since "$WINDOW_START")
    kill -0 "$pid" 2>/dev/null || fail "the program ended"
    xdotool search --onlyvisible --name "$(title_pattern "$SCREEN")" >/dev/null ||
      fail "the screen $SCREEN was no longer shown"
    echo "$ticks0 $ticks1 $TICKS $wall $rss0 $(vm_mib "$pid" VmRSS) $(vm_mib "$pid" VmHWM)" |
      awk '{ printf "%.2f %.1f %.1f\n", ($2 - $1) / $3 / $4 * 100, $7, $6 - $5 }'
    wait "$shot"
  )
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The first, unmeasured run of screen $1, which learns where its controls are.
learn() {
  KNOWN=$OUT/$1.learned
  [ -s "$KNOWN" ] && return
  MODE=learn
  run_screen "$1" 0 >"$OUT/$1.learn.log" 2>&1 || { rm -f "$KNOWN"; return 1; }
}

# The heart paper filled by the real program on its own timer: resident memory with the
# home screen shown, and when the recorder asks whether to clear its full memory.
full_paper_real() {
  learn heart_recording || { echo "heart paper (real program): the recording screen could not be reached"; return; }
  (
    source "$LIB"
    trap finish EXIT
    MODE=replay
    KNOWN=$OUT/heart_recording.learned
    "$BIN/morvane-heart" >"$LOG" 2>&1 &
    PROGRAM_PID=$!
    heart_home
    sleep 2
    local start ticks0 from
    start=$(vm_mib "$PROGRAM_PID" VmRSS)
    go Cmd_Tutorial
    screen Frm_Heart
    ticks0=$(cpu_ticks "$PROGRAM_PID")
    from=$(now)
    # The question about the full memory carries the program's title.
    timeout 2400 xdotool search --sync --onlyvisible --name '^Morvane - Сердце 1\.00R$' >/dev/null ||
      fail "the paper did not fill in 40 minutes"
    echo "$(cpu_ticks "$PROGRAM_PID") $ticks0 $TICKS $(elapsed_since "$from") $start $(vm_mib "$PROGRAM_PID" VmRSS) $(vm_mib "$PROGRAM_PID" VmHWM)" |
      awk '{ printf "heart paper full in the real program (%.0f s of recording, %.2f %% of one core): RSS at start %.1f MB, paper full %.1f MB (+%.1f MB above start), peak %.1f MB\n",
             $4, ($1 - $2) / $3 / $4 * 100, $5, $6, $6 - $5, $7 }'
  ) 2>"$OUT/full_paper_real.log" || echo "heart paper (real program): failed (see $OUT/full_paper_real.log)"
}

echo "CPU and memory of the running programs: $RUNS runs of ${SECONDS_PER_RUN} s per screen, X server Xvfb," \
     "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
printf '%-28s %10s %12s %9s %9s\n' screen "CPU % core" "(min-max)" "peak MB" "grew MB"
for name in "${SCREENS[@]}"; do
  [[ "$name" =~ $ONLY ]] || continue
  if ! learn "$name"; then
    printf '%-28s could not be reached (see %s)\n' "$name" "$OUT/$name.learn.log"
    continue
  fi
  MODE=replay
  : >"$OUT/$name.results"
  for ((run = 1; run <= RUNS; run++)); do
    if ! run_screen "$name" "$run" >>"$OUT/$name.results" 2>"$OUT/$name.$run.log"; then
      echo "$name run $run failed: $(head -1 "$OUT/$name.$run.log")" >&2
    fi
  done
  if [ ! -s "$OUT/$name.results" ]; then
    printf '%-28s every run failed (see %s)\n' "$name" "$OUT"
    continue
  fi
  printf '%-28s %10s %12s %9s %9s\n' "$name" \
    "$(awk '{ print $1 }' "$OUT/$name.results" | median)" \
    "($(awk '{ print $1 }' "$OUT/$name.results" | sort -g | sed -n '1p;$p' | paste -sd-))" \
    "$(awk '{ print $2 }' "$OUT/$name.results" | median)" \
    "$(awk '{ print $3 }' "$OUT/$name.results" | median)"
done

echo
echo "heart paper, memory goal: at most the paper's own 10.6 MB (16383 x 169 px x 4 bytes) above the start"
if [[ heart_full_paper =~ $ONLY ]]; then
  QT_QPA_PLATFORM=xcb "$BUILD/bench/bench_heart_full_paper" 2>/dev/null || echo "bench_heart_full_paper failed"
fi
if [ -n "${FULL_PAPER_REAL:-}" ]; then full_paper_real; fi
echo "(screenshots and logs: $OUT)"
