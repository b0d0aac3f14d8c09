#!/usr/bin/env bash
# Inside the Platform tests' headless sway: names the compositor's socket relative to XDG_RUNTIME_DIR, as a
# desktop session does (WebKit's sandboxed web processes only find the socket that way), and gives the test
# a private session bus.
set -euo pipefail
export WAYLAND_DISPLAY="$(basename "$WAYLAND_DISPLAY")"
unset DBUS_SESSION_BUS_ADDRESS
exec dbus-run-session -- "$@"
