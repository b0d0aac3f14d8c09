#!/usr/bin/env bash
# Runs a test with a private session bus of its own, whatever bus the caller has.
set -euo pipefail
unset DBUS_SESSION_BUS_ADDRESS
exec dbus-run-session -- "$@"
