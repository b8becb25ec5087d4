#!/usr/bin/env bash
# Builds the bench preset and measures loading a description against a plain
# read of the same file (4 KB to 256 MB, seven shapes). Takes a few minutes
# and about 2 GB of temporary files, removed at the end. Extra arguments go to
# Google Benchmark, for example --benchmark_filter=prose.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
cmake --preset bench >/dev/null
cmake --build --preset bench --target qm_load_bench >/dev/null
exec build/bench/qm_load_bench --benchmark_counters_tabular=true "$@"
