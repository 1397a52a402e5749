#!/usr/bin/env bash
# Photographs Tavelo's windows for the README: starts it on a virtual screen of its own with
# a compositing manager (so that the translucent drop shadow shows) in front of a light
# backdrop, then writes docs/main-window.png and, after a click on the menu button,
# docs/settings-window.png (the settings window over the main window).
set -euo pipefail

if [[ "${1:-}" != --on-screen ]]; then
    source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$TAVELO_ROOT/scripts/screenshot.sh" \
        --on-screen "$TAVELO_ROOT"
fi

root=$2
app="$root/build/src/app/tavelo"
out="$root/docs"
mkdir -p "$out"
work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap finish EXIT

# A light backdrop window under everything, so the shadow has something to fall on.
convert -size 1280x1024 xc:'#dfe3e8' "$work/backdrop.png"
display -geometry +0+0 -borderwidth 0 -immutable "$work/backdrop.png" &
pids+=($!)
xdotool search --sync --onlyvisible --name 'backdrop' >/dev/null

picom --backend xrender --config /dev/null &
pids+=($!)

"$app" &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --name '^Tavelo$' | head -n 1)
# The chat page and the shadow are drawn a moment after the window appears.
sleep 5

# Crops the screen to the rectangle x, y, width, height grown by a margin on every side.
shoot() {
    local margin=24
    import -window root -crop "$(($4 + 2 * margin))x$(($5 + 2 * margin))+$(($2 - margin))+$(($3 - margin))" \
        +repage "$1"
}

# A short exchange: the fixed reply, then a typed message and the bot's answer (the fallback
# reply when the answer service cannot be reached).
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 428)) $((Y + 410)) click 1
xdotool windowfocus --sync "$window"
xdotool type --delay 30 "Hello, bot"
xdotool key Return
xdotool mousemove --sync 1279 1023
sleep 8
shoot "$out/main-window.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
echo "wrote $out/main-window.png"

# The menu button sits at (432, 0), 32 x 30, in the title bar.
xdotool mousemove --sync $((X + 448)) $((Y + 15)) click 1
xdotool mousemove --sync 1279 1023
sleep 3
shoot "$out/settings-window.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
echo "wrote $out/settings-window.png"
