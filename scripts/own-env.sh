#!/usr/bin/env bash
# Runs a test script on an X display and in a copy of the run's prefix of
# its own (see scripts/wine-env.sh), so input it sends to the whole display
# reaches nothing of another test; all of it is gone when the script ends.
#
# usage: own-env.sh COMMAND [ARGUMENTS...]
. "$(dirname "$0")/wine-env.sh"
env_dir=$(mktemp -d /tmp/ks-test-env.XXXXXX)
trap 'wine_env_stop; rm -rf "$env_dir"' EXIT
wine_env_start "$env_dir"
"$@" </dev/null
