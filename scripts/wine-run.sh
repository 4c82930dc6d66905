#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Runs a command inside a private Wine environment (see wine-env.sh), stopped when it ends.
#
#   scripts/wine-run.sh COMMAND [ARGUMENTS...]
set -euo pipefail
# shellcheck source=wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
"$@"
