#!/usr/bin/env bash
# Runs the tests of the Windows build (core, settings, the single-copy check) under Wine, against
# its registry, in a private prefix that goes with the run.   under_wine.sh WINDOWS-BUILD-DIR
set -euo pipefail
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="  # no .NET or web engine
WINEPREFIX=$(mktemp -d)
trap '/usr/lib/wine/wineserver -k; /usr/lib/wine/wineserver -w; rm -rf "$WINEPREFIX"' EXIT
# The server and its services start before the tests: started by the first one, they would hold
# its output open until they time out.
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
ctest --test-dir "$1" --output-on-failure
