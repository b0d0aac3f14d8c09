#!/usr/bin/env bash
# Runs a GTK test client on a fresh Xvfb screen of 1280x800 with openbox managing windows (full screen needs
# a window manager), and a private session bus.
set -euo pipefail
if [[ -z "${ORRELITH_IN_XVFB:-}" ]]; then
  export ORRELITH_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" dbus-run-session -- "$0" "$@"
fi
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
GDK_BACKEND=x11 GTK_A11Y=none "$@"
