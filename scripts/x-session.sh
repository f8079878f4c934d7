# Sourced by the scripts that drive the window on a display of their own
# (screenshots.sh, atspi-probe.sh). They keep a scratch folder in $tmp and the
# processes they start in the array pids, ended by their cleanup.

# start_x_session SIZE: Xvfb at SIZE (e.g. 1600x1200) and 96 DPI with openbox on
# it; HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR point into $tmp, so no settings
# of the user's are read or written.
start_x_session() {
    mkdir -p "$tmp/home" "$tmp/config" "$tmp/run"
    chmod 700 "$tmp/run"
    Xvfb -displayfd 3 -screen 0 "$1x24" -dpi 96 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
    [ -s "$tmp/display" ] || { cat "$tmp/xvfb.log" >&2; exit 2; }
    DISPLAY=:$(cat "$tmp/display")
    export DISPLAY
    export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
    openbox >"$tmp/openbox.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}
