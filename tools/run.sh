#!/usr/bin/env bash
# Installs what is missing, builds both programs and starts TolvaneTVX from its run directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target TolvaneTVX tvxkit
exec "$root/build/run/TolvaneTVX" "$@"
