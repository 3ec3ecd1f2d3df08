#!/usr/bin/env bash
# Runs one console test executable under 64-bit Wine and ends the Wine session after it.
# Runs are serialised on the prefix, so ending the session never cuts another run short.
set -u
. "$(dirname "$0")/prefix.sh"
exec 8>"$WINEPREFIX.run.lock"
flock 8
DISPLAY= "$WINE" "$@"
rc=$?
"$WINESERVER" -k 2>/dev/null
"$WINESERVER" -w 2>/dev/null
exit $rc
