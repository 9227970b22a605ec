#!/usr/bin/env bash
# Serves dist/web/ (made by scripts/build-web.sh) on 127.0.0.1 and prints the
# address to open. Usage: scripts/serve-web.sh [port, default 8080]. Ctrl-C
# stops it.
set -euo pipefail
cd "$(dirname "$0")/.."

port=${1:-8080}
if [ ! -f dist/web/index.html ]; then
  echo "serve-web: no dist/web/index.html; build it with scripts/build-web.sh" >&2
  exit 1
fi
echo "Benchmark:    http://127.0.0.1:$port/"
echo "Example game: http://127.0.0.1:$port/star-catcher.html"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory dist/web
