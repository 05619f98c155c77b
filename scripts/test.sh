#!/usr/bin/env bash
# Sets up and builds (see setup.sh), then runs every test through CTest.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
cd "${ULMO_BUILD_DIR:-$here/build}"
TZ=UTC LC_ALL=C.UTF-8 ctest --output-on-failure -j "$(nproc)"
