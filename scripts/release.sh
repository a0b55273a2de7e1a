#!/usr/bin/env bash
# Builds the release archives: build/release/TimedShutdown-<version>-win32.zip and -win64.zip, with
# SHA256SUMS beside them. Usage: scripts/release.sh [OUTDIR]
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
source "$(dirname "$0")/lib/release.sh"

ts_setup win32 win64
out=${1:-$TS_BUILD_ROOT/release}
ts_release "$out"
ts_log "SHA256SUMS: $out/SHA256SUMS"
