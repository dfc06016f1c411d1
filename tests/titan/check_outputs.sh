#!/usr/bin/env bash
# Checks the TTCN-3 and ASN.1 files of every end-to-end case with a real TTCN-3
# compiler (Debian package eclipse-titan) and fails on any error that the list
# of known findings does not name.
#
#   check_outputs.sh -p|-s CASES_DIR BIN_DIR KNOWN_FINDINGS
#
# -p parses only (`compiler -p`); -s also runs the semantic check (`compiler -s`).
# The semantic check needs a module that parses: a file the parser rejects (for
# a required form, listed for the parse check) is reported and left to the
# parse check.
#
# Each case runs again through run_case.sh, which leaves its output files in a
# scratch folder. A case whose output differs from its expected files is
# reported by its own e2e test; here only the compiler's verdict counts.
#
# Without the compiler the check is skipped (exit 77, which CTest shows as
# skipped) unless XLATOR_REQUIRE_TITAN=1 asks for it, as the CI does.
set -u

if [ $# -ne 4 ] || { [ "$1" != -p ] && [ "$1" != -s ]; }; then
  echo "usage: $0 -p|-s CASES_DIR BIN_DIR KNOWN_FINDINGS" >&2
  exit 2
fi
mode=$1
cases=$(cd "$2" && pwd) || exit 2
bin=$(cd "$3" && pwd) || exit 2
known=$4
run_case="$(dirname "$0")/../e2e/run_case.sh"

if ! command -v compiler >/dev/null 2>&1; then
  if [ "${XLATOR_REQUIRE_TITAN:-0}" = 1 ]; then
    echo "FAILED: the TTCN-3 compiler 'compiler' (package eclipse-titan) is not installed, and XLATOR_REQUIRE_TITAN=1"
    exit 1
  fi
  echo "SKIPPED: the TTCN-3 compiler 'compiler' (package eclipse-titan) is not installed"
  exit 77
fi
export TTCN3_DIR=${TTCN3_DIR:-/usr/share/titan}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/xlator_titan.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT

# The known findings: "case | construct | part of the compiler's message | reason".
declare -a known_case known_message known_used
while IFS= read -r line; do
  case $line in '' | '#'*) continue ;; esac
  IFS='|' read -r name construct message reason <<<"$line"
  name=$(echo "$name" | xargs)
  message=$(echo "$message" | sed 's/^ *//; s/ *$//')
  if [ -z "$name" ] || [ -z "$message" ] || [ -z "$(echo "$construct$reason" | tr -d ' ')" ]; then
    echo "BAD LINE in $known: $line"
    exit 1
  fi
  known_case+=("$name")
  known_message+=("$message")
  known_used+=(0)
done <"$known"

failed=0
checked=0
for case_dir in "$cases"/*/; do
  name=$(basename "$case_dir")
  out="$scratch/$name"
  mkdir -p "$out"
  XLATOR_E2E_OUTPUTS="$out" bash "$run_case" "$case_dir" "$bin" >/dev/null 2>&1
  while IFS= read -r -d '' ttcn; do
    dir=$(dirname "$ttcn")
    base=$(basename "$ttcn" .ttcn)
    files=(-T "$base.ttcn")
    [ -f "$dir/$base.asn" ] && files+=(-A "$base.asn")
    if [ "$mode" = -s ] && ! (cd "$dir" && compiler -p "${files[@]}" >/dev/null 2>&1); then
      echo "$name: $base.ttcn not checked for semantics: the parser rejects it (see the parse check)"
      continue
    fi
    checked=$((checked + 1))
    messages=$(cd "$dir" && compiler "$mode" "${files[@]}" 2>&1)
    status=$?
    # The semantic check indents its errors under the definitions they are in.
    errors=$(echo "$messages" | grep ': error: ' | sed 's/^ *//')
    if [ $status -ne 0 ] && [ -z "$errors" ]; then
      echo "$name: the compiler failed without an error line:"
      echo "$messages"
      failed=1
    fi
    while IFS= read -r error; do
      [ -z "$error" ] && continue
      matched=0
      for i in "${!known_case[@]}"; do
        if [ "${known_case[$i]}" = "$name" ] && [[ $error == *"${known_message[$i]}"* ]]; then
          matched=1
          known_used[$i]=1
        fi
      done
      if [ $matched = 0 ]; then
        echo "$name: $base.ttcn: $error"
        failed=1
      fi
    done <<<"$errors"
  done < <(find "$out" -name '*.ttcn' -type f -print0 | sort -z)
done

for i in "${!known_case[@]}"; do
  if [ "${known_used[$i]}" = 0 ]; then
    echo "STALE entry of $known (no such finding): ${known_case[$i]} | ${known_message[$i]}"
    failed=1
  fi
done

echo "$checked TTCN-3 file(s) checked with compiler $mode"
if [ $checked = 0 ]; then
  echo "FAILED: no end-to-end case left a TTCN-3 file"
  failed=1
fi
exit $failed
