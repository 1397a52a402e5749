#!/usr/bin/env bash
# Sets everything up and starts Tavelo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

app="$TAVELO_ROOT/build/src/app/tavelo"
if [[ ! -x "$app" ]]; then
    echo "The build made no program at $app; see the build's output above." >&2
    exit 1
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No desktop here (DISPLAY is not set): starting Tavelo on a virtual screen (Xvfb)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$app"
fi
exec "$app"
