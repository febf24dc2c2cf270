#!/usr/bin/env bash
# How large the tests are beside the program: non-blank lines of the files git tracks under tests/ and fuzz/ (rig,
# drivers and data included) and under src/, and the tests' share of both together (goal: at most 35 %).
set -euo pipefail
cd "$(dirname "$0")/.."
lines() { git ls-files -- "$@" | xargs -r grep -cv '^\s*$' | awk -F: '{ s += $NF } END { print s + 0 }'; }
tests=$(lines tests) fuzz=$(lines fuzz) src=$(lines src)
echo "tests $tests, fuzz $fuzz, src $src"
awk -v t=$((tests + fuzz)) -v s="$src" 'BEGIN { printf "tests and fuzz: %d lines, %.1f %% of tests + src\n", t, 100 * t / (t + s) }'
