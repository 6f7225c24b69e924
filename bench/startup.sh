#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up of the tool beside a bare Qt window, on one private Xvfb display, alternated run by
# run. Usage: bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?usage: bench/startup.sh BUILD_DIR [RUNS]}
runs=${2:-15}

# The first free display number from KELMORA_BENCH_DISPLAY (90 unless set) up.
display=${KELMORA_BENCH_DISPLAY:-90}
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
runtime=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.05
done

env -u WAYLAND_DISPLAY DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" \
  "$build/bench/kelmora_startup_probe" "$runs" "$build/app/kelmora" "$build/bench/kelmora_bare_window"
