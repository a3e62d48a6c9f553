#!/usr/bin/env bash
# Installs what is needed, builds the package and runs its main job.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$here/build"
echo "Built. The programs are in $here/build."
