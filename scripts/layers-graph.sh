#!/usr/bin/env bash
# Draws the program's folder libraries and what each links as
# docs/layers.svg, from CMake's own graph of the build (cmake --graphviz),
# without the tests, benchmarks, executables and outside libraries.
# Needs graphviz (dot): sudo apt-get install graphviz.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cat >"$out/CMakeGraphVizOptions.cmake" <<'OPTIONS'
set(GRAPHVIZ_EXECUTABLES FALSE)
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_INTERFACE_LIBS TRUE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "kavolo_.*test_support" "bench_support" "^quarnel$" "quarnel_widgets" ".*test.*")
OPTIONS
cmake -S . -B "$out/build" -G Ninja >/dev/null
cp "$out/CMakeGraphVizOptions.cmake" "$out/build/"
(cd "$out/build" && cmake --graphviz=layers.dot . >/dev/null)
# Names as the folders are called, the app on top, without the legend.
sed -e 's/kavolo_//g' -e 's/roaster_sim/sim/' -e 's/quarnel_api/stepeditor\/api/' \
    -e 's/^digraph "[^"]*" {/digraph layers {\n    node [fontname = "sans", fontsize = 12];/' \
    "$out/build/layers.dot" | awk '/^subgraph clusterLegend/ {skip = 1} skip && /^}/ {skip = 0; next} !skip' \
    >"$out/layers.dot"
dot -Tsvg "$out/layers.dot" -o docs/layers.svg
echo "docs/layers.svg"
