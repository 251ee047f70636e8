#!/usr/bin/env bash
# Runs every test: the host tests, the check of the built programs' files, and the end-to-end tests of
# the real Windows program under wine64. Ends with one summary line.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

ctest --test-dir build/host --output-on-failure -j"$(nproc)" 2>&1 | tee build/host/ctest.log
host_status=${PIPESTATUS[0]}
host_summary=$(grep -E 'tests passed|tests failed' build/host/ctest.log | tail -1)

bash scripts/check_product.sh
product_status=$?

python3 e2e/run_e2e.py 2>&1 | tee build/e2e.log
e2e_status=${PIPESTATUS[0]}
e2e_summary=$(grep -E '^e2e:' build/e2e.log | tail -1)

verdict=passed
[ "$host_status$product_status$e2e_status" = "000" ] || verdict=FAILED
echo "summary: $verdict | host: ${host_summary:-no result} | product check: $([ $product_status -eq 0 ] && echo ok || echo failed) | ${e2e_summary:-e2e: no result}"
[ "$verdict" = passed ]
