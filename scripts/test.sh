#!/usr/bin/env bash
# Installs prerequisites, builds both targets and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
run_dir=$(mktemp -d /tmp/kestrabel-test.XXXXXX)
trap 'wine_env_stop; rm -rf "$run_dir"' EXIT
wine_env_start "$run_dir"
export KS_RUN_DIR="$run_dir"
cd "$root/build/cmake-win64"
ctest --output-on-failure --timeout 300 -j 4 </dev/null
