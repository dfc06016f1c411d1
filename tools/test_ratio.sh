#!/usr/bin/env bash
# Size of the tests against the rest of the hand-written code, in non-blank
# lines of the files git tracks (run from anywhere inside the repository).
#
# Code: C++ sources and headers, the schema and node-type tables (*.def),
# CMake files, shell and Python scripts, the Makefile, .ci/run, and the
# command files of the end-to-end cases (tests/e2e/cases/*/cmd).
# Not code, and counted on their own line only: documentation (*.md) and data
# (MP suites, ASN.1 modules, exchange files, fuzz corpora and regression
# inputs, the expected outputs of end-to-end cases, the keyword file).
# Generated files are never tracked (they are written into the build folder),
# so nothing generated is counted.
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"

code_pattern='(\.(cpp|h|def|cmake|sh|py)|/CMakeLists\.txt|^CMakeLists\.txt|^Makefile|^\.ci/run|^tests/e2e/cases/[^/]+/cmd)$'

nonblank() { # files on standard input, one per line
  local total=0 n
  while IFS= read -r file; do
    n=$(grep -c -v '^[[:space:]]*$' "$file" || true)
    total=$((total + n))
  done
  echo "$total"
}

tests_code=$(git ls-files tests | grep -E "$code_pattern" | nonblank)
rest_code=$(git ls-files | grep -v '^tests/' | grep -E "$code_pattern" | nonblank)
tests_data=$(git ls-files tests | grep -v -E "$code_pattern" | grep -v '\.md$' | nonblank)
tests_cpp=$(git ls-files tests | grep -E '\.(cpp|h)$' | nonblank)
rest_cpp=$(git ls-files | grep -v '^tests/' | grep -E '\.(cpp|h)$' | nonblank)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
echo "tests (code):      $tests_code"
echo "rest (code):       $rest_code"
echo "ratio:             $(ratio "$tests_code" "$rest_code")"
echo "C++ only:          $tests_cpp against $rest_cpp = $(ratio "$tests_cpp" "$rest_cpp")"
echo "test data (apart): $tests_data"
