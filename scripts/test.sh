#!/usr/bin/env bash
# Installs prerequisites, builds the release and both test builds, and runs
# every test under Wine: the in-process programs of both architectures and
# the end-to-end programs against the release as it ships (build/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
run_dir=$(mktemp -d /tmp/kestrabel-test.XXXXXX)
trap 'wine_env_stop; rm -rf "$run_dir"' EXIT
wine_env_start "$run_dir"
export KS_RUN_DIR="$run_dir"
# One schedule for the tests of both builds.
cat >"$root/build/CTestTestfile.cmake" <<'TESTS'
subdirs("cmake-win64" "cmake-win32-test")
TESTS
cd "$root/build"
ctest --output-on-failure --timeout 300 -j "${KS_TEST_JOBS:-6}" </dev/null
