#!/usr/bin/env bash
# Installs the build into a temporary prefix, breaks the installed data and starts the
# installed programs on a virtual X display, driven by keys as a person would: each must
# tell what is broken in a message and, once that is closed, end with status 1.
set -euo pipefail
build=$1

if [ "${2:-}" != --on-display ]; then
  command -v xvfb-run > /dev/null && command -v xdotool > /dev/null || { echo "needs xvfb-run and xdotool"; exit 77; }
  prefix=$(mktemp -d)
  trap 'rm -rf "$prefix"' EXIT
  cmake --install "$build" --prefix "$prefix" > /dev/null
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" --on-display "$prefix"
  exit
fi

prefix=$3
data=$prefix/share/morvane
export QT_QPA_PLATFORM=xcb
cd /
pid=
trap '[ -z "$pid" ] || kill "$pid" 2> /dev/null || true' EXIT

# The id of the visible window titled exactly $1, once it shows (within 20 s).
window() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }

# Keys for the window titled $1.
keys() {
  local id
  id=$(window "$1") || { echo "no window «$1»"; return 1; }
  xdotool windowfocus --sync "$id" key "${@:2}"
}

# Waits (up to 20 s) for the program $1 to end and checks its status is 1.
ends_failed() {
  local pid=$1 what=$2 status=0
  for _ in $(seq 200); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2> /dev/null; then
    kill "$pid"
    echo "$what: still running after its message"
    return 1
  fi
  wait "$pid" || status=$?
  [ "$status" -eq 1 ] || { echo "$what: ended with status $status, not 1"; return 1; }
}

# An empty drug table: the heart's home screen opens; the first key takes its title panel away,
# the second presses "Обучение" (the focused button), which reads
# the table, the message tells it is damaged, and its OK ends the program.
cp "$data/F_Heart.mdb" "$data/F_Heart.mdb.good"
: > "$data/F_Heart.mdb"
"$prefix/bin/morvane-heart" 2> /dev/null &
pid=$!
keys "Morvane - Сердце E1.00R" space space
keys "Morvane - Сердце 1.00R" Return
ends_failed $pid "heart with an empty drug table"
mv "$data/F_Heart.mdb.good" "$data/F_Heart.mdb"

# Damaged pictures (random bytes in one, nothing in the other): one message before any
# window, and its OK ends the program.
head -c 4096 /dev/urandom > "$data/oeso_setup.png"
: > "$data/title_ileum.png"
"$prefix/bin/morvane" 2> /dev/null &
pid=$!
keys "Morvane T1.00R" Return
ends_failed $pid "morvane with damaged pictures"

echo "programs with broken data end with status 1"
