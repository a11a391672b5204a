#!/usr/bin/env bash
# Fuzzing alone, for longer runs than the test command's minute per target:
#   FUZZ_SECONDS=600 scripts/fuzz.sh               every target, ten minutes each
#   FUZZ_SECONDS=600 scripts/fuzz.sh fuzz_pack     one target
exec "$(dirname "$0")/test-hardening.sh" --fuzz-only "$@"
