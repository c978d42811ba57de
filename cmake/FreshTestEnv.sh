#!/bin/sh
# Runs one test in empty config, data, runtime and temporary directories, so
# that settings a window wrote when an earlier run closed it cannot change how
# the next run starts.
#   FreshTestEnv.sh ENVROOT PROGRAM [ARGS...]
set -e
envroot=$1
shift
rm -rf "$envroot/config" "$envroot/data" "$envroot/runtime" "$envroot/tmp"
mkdir -p "$envroot/config" "$envroot/data" "$envroot/runtime" "$envroot/tmp"
chmod 700 "$envroot/runtime"
exec "$@"
