#!/usr/bin/env bash
# Mutation check: see tools/mutants.py. Example: tools/mutants.sh tools/mutants/plan.txt
exec python3 "$(dirname "$0")/mutants.py" "$@"
