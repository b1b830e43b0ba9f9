#!/usr/bin/env bash
# Runs a Windows program of the build under Wine with the build's prefix.
# The caller (test.sh) provides DISPLAY and keeps a wineserver alive.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
exec wine "$@"
