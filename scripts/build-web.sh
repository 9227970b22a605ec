#!/usr/bin/env bash
# Builds the benchmark and the example game for the browser (emscripten,
# Release; the "web" preset) into build-web/ and gathers their pages in
# dist/web/: index.html (the benchmark) and star-catcher.html (the example
# game), each with its .js, .wasm and .data. Serve the folder over http
# (scripts/serve-web.sh): a page opened as a file cannot load its data.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/packages.sh web
cmake --preset web >/dev/null
cmake --build --preset web --target game example_game

rm -rf dist/web
mkdir -p dist/web
for page in build-web/game/index build-web/examples/star-catcher; do
  cp "$page.html" "$page.js" "$page.wasm" "$page.data" dist/web/
done
echo "Built dist/web/: index.html (benchmark), star-catcher.html (example game)."
echo "Serve it with scripts/serve-web.sh"
