#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for stage in native windows hardening; do
  if [ -x "scripts/test-$stage.sh" ]; then
    echo "=== $stage"
    "scripts/test-$stage.sh"
  fi
done
