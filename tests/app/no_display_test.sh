#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the tool where no display can be reached and checks that it says so in one line on
# stderr and exits with status 255, without crashing or leaving a core file.
set -uo pipefail
app=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
# Let a crash write its core here, where it would be found.
ulimit -c unlimited 2>/dev/null || true

# A display number that no server serves, and nothing Qt could fall back on instead.
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
  DISPLAY=:65000 XDG_RUNTIME_DIR="$work" "$app" >stdout 2>stderr
status=$?

failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

[ "$status" -eq 255 ] || fail "exit status $status, expected 255"
# Bash reports death by signal N as 128 + N; 255 is none of those, anything else above 128 is.
if [ "$status" -gt 128 ] && [ "$status" -ne 255 ]; then
  fail "killed by signal $((status - 128))"
fi
lines=$(wc -l <stderr)
[ "$lines" -eq 1 ] || fail "$lines lines on stderr, expected exactly one"
[ "$(tail -c 1 stderr | od -An -c | tr -d ' ')" = '\n' ] || fail "the stderr line is not ended"
grep -qi 'display' stderr || fail "the stderr line does not say that no display was found"
[ ! -s stdout ] || fail "something was written to stdout"
cores=$(find . -maxdepth 1 -name 'core*' | wc -l)
[ "$cores" -eq 0 ] || fail "a core file was written"

echo "status: $status"
echo "stderr: $(cat stderr)"
echo "core pattern: $(cat /proc/sys/kernel/core_pattern 2>/dev/null || echo unknown)"
exit "$failed"
