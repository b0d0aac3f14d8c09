#!/usr/bin/env bash
# Runs a GTK test client against a headless sway with two outputs: 1280x800 at the origin and 1024x768
# at ORRELITH_SWAY_SECOND_OUTPUT (left of it by default). sway refuses to run as root, so for root it runs
# as nobody with a runtime folder of its own, the client staying root and connecting by the socket's path;
# an ordinary user runs both as itself, as a desktop session does.
set -euo pipefail
runtime=$(mktemp -d /tmp/orrelith-sway.XXXXXX)
as_sway=()
if [[ $(id -u) == 0 ]]; then
  chown 65534:65534 "$runtime"
  as_sway=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
chmod 700 "$runtime"
cat > "$runtime/config" <<CONFIG
output HEADLESS-1 resolution 1280x800 position 0,0
output HEADLESS-2 resolution 1024x768 position ${ORRELITH_SWAY_SECOND_OUTPUT:--1024,0}
default_border none
CONFIG
chmod 644 "$runtime/config"
cleanup() {
  [[ -n "${sway_pid:-}" ]] && kill "$sway_pid" 2>/dev/null && wait "$sway_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 \
  WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  "${as_sway[@]}" sway -c "$runtime/config" >"$runtime/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 100); do
  socket=$(find "$runtime" -maxdepth 1 -name 'wayland-*' -type s | head -n1)
  [[ -n "$socket" ]] && break
  sleep 0.1
done
if [[ -z "${socket:-}" ]]; then
  echo "sway did not start:" >&2
  cat "$runtime/sway.log" >&2
  exit 1
fi
sleep 0.5
unset DISPLAY
XDG_RUNTIME_DIR="$runtime" GDK_BACKEND=wayland WAYLAND_DISPLAY="$socket" GTK_A11Y=none "$@"
