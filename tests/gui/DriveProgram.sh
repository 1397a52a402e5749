#!/usr/bin/env bash
# Starts the program given, waits for its window, ends it in the way asked and prints how the
# program ended: "exit N", or what went wrong. Run on a display of its own (xvfb-run -a), so
# that no other window lies over the program's.
#
#   DriveProgram.sh PROGRAM close     click the close button of the title bar
#   DriveProgram.sh PROGRAM escape    press Esc with the focus in the window
#
# With two more arguments, MESSAGE and READY_FILE, it first types MESSAGE into the input box
# and presses Enter, then ends the program once READY_FILE exists (the test makes it when the
# send has got as far as it wants).
set -u
program=$1
action=$2
message=${3-}
ready=${4-}

"$program" >/dev/null 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tavelo$' | head -n 1)
if [[ -z "$window" ]]; then
    kill -9 "$pid" 2>/dev/null
    echo "no window"
    exit 1
fi

if [[ -n "$message" ]]; then
    xdotool windowfocus --sync "$window"
    xdotool type --delay 20 "$message"
    xdotool key Return
    for _ in $(seq 900); do
        [[ -e "$ready" ]] && break
        sleep 0.1
    done
    if [[ ! -e "$ready" ]]; then
        kill -9 "$pid"
        echo "not ready"
        exit 1
    fi
fi

case "$action" in
    close)
        eval "$(xdotool getwindowgeometry --shell "$window")"
        # The close button is 38 x 30 at the title bar's right end, 528 pixels in.
        xdotool mousemove $((X + 547)) $((Y + 15)) click 1
        ;;
    escape)
        xdotool windowfocus --sync "$window"
        xdotool key Escape
        ;;
    *)
        kill -9 "$pid"
        echo "unknown action $action"
        exit 2
        ;;
esac

for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid"
    echo "still running"
    exit 1
fi
wait "$pid"
echo "exit $?"
