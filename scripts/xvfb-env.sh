# Sourced by the test and benchmark scripts: starts an Xvfb of its own for OpenGL, exports
# DISPLAY, and stops the server when the sourcing script exits.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do
  [ -s "$displayfile" ] && break
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$displayfile" ]; then
  echo "xvfb-env: Xvfb did not start (is the xvfb package installed?)" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$displayfile")"
