# Sourced by the scripts that need a display for OpenGL mode: starts a private
# Xvfb on a free display number and sets `display_number` and `xvfb_pid`.
# Stop it with stop_xvfb (by its own pid, never by name). XVFB_SCREEN sets its
# screen (default 1024x768x24).
start_xvfb() {
  display_number=$(( 90 + RANDOM % 800 ))
  while [ -e "/tmp/.X${display_number}-lock" ]; do display_number=$(( display_number + 1 )); done
  Xvfb ":$display_number" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display_number" ] && break
    sleep 0.1
  done
}

stop_xvfb() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
