#!/usr/bin/env bash
# Runs a test program under a private X server (Xvfb) with Qt's xcb platform, as on a
# desktop. Exits with 77, which CTest counts as skipped, and says why, when xvfb-run is
# missing or no X server can be started. QV_X11_SCREEN sets the screen (WIDTHxHEIGHTxDEPTH).
set -u
screen=${QV_X11_SCREEN:-1280x900x24}
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "Skipped: xvfb-run is not installed, so no X server can be started" \
       "(tools/setup.sh installs the xvfb and xauth packages)."
  exit 77
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Another run may take the display number that -a picked first; a few tries settle it.
for attempt in 1 2 3; do
  xvfb-run -a -s "-screen 0 $screen -nolisten tcp" env QT_QPA_PLATFORM=xcb "$@" 2>"$log"
  status=$?
  cat "$log" >&2
  grep -q "Xvfb failed to start" "$log" || exit "$status"
  sleep "$attempt"
done
echo "Skipped: no X server could be started (Xvfb failed to start three times)."
exit 77
