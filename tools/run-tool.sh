#!/bin/sh
# Starts the tool from the build tree given as argument, where it finds
# ./update_config.lua; without a display, under Xvfb.
set -eu
cd "$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the window under Xvfb."
  exec xvfb-run -a -s "-screen 0 1024x768x24" ./tarvo-config
fi
exec ./tarvo-config
