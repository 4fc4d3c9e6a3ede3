#!/usr/bin/env bash
# Runs a test program under a private X server (Xvfb) with Qt's xcb platform, as on a
# desktop. Exits with 77, which CTest counts as skipped, and says why, when xvfb-run is
# missing or no X server can be started. QV_X11_SCREEN sets the screen (WIDTHxHEIGHTxDEPTH).
# QV_X11_WM=openbox runs the Openbox window manager on that server and starts the program
# only once it manages the screen (skipped when Openbox is not installed; a failure when it
# does not start), so that windows are framed and placed as on a desktop.
set -u
screen=${QV_X11_SCREEN:-1280x900x24}
wm=${QV_X11_WM:-}
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "Skipped: xvfb-run is not installed, so no X server can be started" \
       "(tools/setup.sh installs the xvfb and xauth packages)."
  exit 77
fi
case $wm in
  "") ;;
  openbox)
    if ! command -v openbox >/dev/null 2>&1; then
      echo "Skipped: openbox is not installed, so no window manager can be started" \
           "(tools/setup.sh installs the openbox package)."
      exit 77
    fi
    ;;
  *)
    echo "QV_X11_WM=$wm: the only window manager this runner starts is openbox."
    exit 2
    ;;
esac
log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$log" "$work"' EXIT

# Run inside the X server: starts the window manager, waits until it has taken the screen
# (Openbox runs its --startup command then), runs the program and stops the manager.
# Openbox keeps its cache and session files in the private folder, not the user's.
inside='
  work=$1; shift
  if [ "$QV_X11_WM" = openbox ]; then
    XDG_CACHE_HOME="$work" XDG_CONFIG_HOME="$work" \
      openbox --sm-disable --startup "touch $work/managing" >"$work/wm.log" 2>&1 &
    wm=$!
    for i in $(seq 200); do
      [ -e "$work/managing" ] && break
      kill -0 "$wm" 2>/dev/null || break
      sleep 0.05
    done
    if [ ! -e "$work/managing" ]; then
      echo "The window manager openbox did not start:" >&2
      cat "$work/wm.log" >&2
      kill "$wm" 2>/dev/null
      exit 1
    fi
  fi
  "$@"
  status=$?
  if [ -n "${wm:-}" ]; then kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null; fi
  exit "$status"
'
# Another run may take the display number that -a picked first; a few tries settle it.
for attempt in 1 2 3; do
  xvfb-run -a -s "-screen 0 $screen -nolisten tcp" \
    env QT_QPA_PLATFORM=xcb QV_X11_WM="$wm" bash -c "$inside" run_on_x11 "$work" "$@" 2>"$log"
  status=$?
  cat "$log" >&2
  grep -q "Xvfb failed to start" "$log" || exit "$status"
  sleep "$attempt"
done
echo "Skipped: no X server could be started (Xvfb failed to start three times)."
exit 77
