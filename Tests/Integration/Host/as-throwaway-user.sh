#!/usr/bin/env bash
# Runs a test as a user made for it, whose home is a fresh empty folder, so that what the real host reads
# and writes in "the user's home" (settings, installed screen savers, preferences) is the test's own and
# never the files of whoever runs the tests. Making users needs root; otherwise the test is skipped (exit
# status 77, which CTest is told means skipped).
set -euo pipefail
if [[ $(id -u) != 0 ]]; then
  echo "skipped: the host's tests run as a throwaway user with a home of its own, and making one needs root" >&2
  exit 77
fi
home=$(mktemp -d /tmp/orrelith-home.XXXXXX)
name="orrelith-t$$"
made=
cleanup() {
  if [[ -n "$made" ]]; then
    for _ in $(seq 50); do userdel -f "$name" 2>/dev/null && break; sleep 0.2; done
  fi
  rm -rf "$home"
}
trap cleanup EXIT
# Tests running side by side each make a user; useradd refuses while another holds the account files.
for _ in $(seq 50); do
  if useradd --system --no-create-home --home-dir "$home" --shell /usr/sbin/nologin --user-group "$name" 2>/dev/null; then
    made=1
    break
  fi
  sleep 0.2
done
if [[ -z "$made" ]]; then
  echo "cannot make the test's user $name" >&2
  exit 1
fi
chown "$name:$name" "$home"
chmod 700 "$home"
uid=$(id -u "$name")
gid=$(id -g "$name")
# What a test may check before it writes in the home folder it is given.
export ORRELITH_THROWAWAY_HOME="$home"
export HOME="$home"
unset XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME DBUS_SESSION_BUS_ADDRESS
# Not exec: the user is removed once the test is done.
status=0
setpriv --reuid="$uid" --regid="$gid" --clear-groups "$@" || status=$?
exit "$status"
