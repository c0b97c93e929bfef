#!/usr/bin/env bash
# Installs what is missing, builds, and starts Morvane; "./run.sh heart" starts the heart program.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh

program=morvane
case "${1:-}" in
  "") ;;
  heart) program=heart ;;
  *) echo "usage: ./run.sh [heart]" >&2; exit 2 ;;
esac
exec "$BUILD_DIR/bin/$program"
