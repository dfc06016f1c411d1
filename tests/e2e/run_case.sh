#!/usr/bin/env bash
# Runs one end-to-end case of the converter and compares its results byte for byte.
#
#   run_case.sh CASE_DIR BIN_DIR
#
# A case folder holds:
#   cmd                 the command line, run by bash in a scratch copy of in/, with
#                       XLATOR (the built xlator.exe), BIN and VELD (the build's bin folder) set
#   in/                 input files (optional)
#   expected/stdout     standard output, exactly
#   expected/stderr     standard error, exactly (optional: empty when missing)
#   expected/exitcode   the exit code, one line
#   expected/files/     files that must exist after the run with exactly these bytes (optional)
#   expected/absent     names, one per line, that must not exist after the run (optional)
#
# With XLATOR_E2E_OUTPUTS set to a folder, every TTCN-3 file the run left and the
# ASN.1 file beside it (same base name) are copied there, at their relative paths,
# for the check with the TTCN-3 compiler (tests/titan/).
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 CASE_DIR BIN_DIR" >&2
  exit 2
fi
case_dir=$(cd "$1" && pwd) || exit 2
bin=$(cd "$2" && pwd) || exit 2

scratch=$(mktemp -d "${TMPDIR:-/tmp}/xlator_e2e.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/work" "$scratch/result"
if [ -d "$case_dir/in" ]; then
  cp -a "$case_dir/in/." "$scratch/work/"
fi

(cd "$scratch/work" && LC_ALL=C XLATOR="$bin/xlator.exe" BIN="$bin" VELD="$bin" \
  bash "$case_dir/cmd" >"$scratch/result/stdout" 2>"$scratch/result/stderr" </dev/null)
echo $? >"$scratch/result/exitcode"

if [ -n "${XLATOR_E2E_OUTPUTS:-}" ]; then
  (cd "$scratch/work" && find . -name '*.ttcn' -type f -print0) |
    while IFS= read -r -d '' ttcn; do
      base=${ttcn%.ttcn}
      mkdir -p "$XLATOR_E2E_OUTPUTS/$(dirname "$ttcn")"
      cp "$scratch/work/$ttcn" "$XLATOR_E2E_OUTPUTS/$ttcn"
      if [ -f "$scratch/work/$base.asn" ]; then
        cp "$scratch/work/$base.asn" "$XLATOR_E2E_OUTPUTS/$base.asn"
      fi
    done
fi

failed=0
# compare WHAT EXPECTED ACTUAL
compare() {
  if ! cmp -s "$2" "$3"; then
    echo "MISMATCH in $1 (--- expected, +++ actual):"
    diff -u "$2" "$3" | sed -n '3,60p'
    failed=1
  fi
}

expected="$case_dir/expected"
compare stdout "$expected/stdout" "$scratch/result/stdout"
if [ -f "$expected/stderr" ]; then
  compare stderr "$expected/stderr" "$scratch/result/stderr"
else
  compare stderr /dev/null "$scratch/result/stderr"
fi
compare "exit code" "$expected/exitcode" "$scratch/result/exitcode"

if [ -d "$expected/files" ]; then
  while IFS= read -r -d '' file; do
    name=${file#"$expected/files/"}
    if [ ! -f "$scratch/work/$name" ]; then
      echo "MISSING output file: $name"
      failed=1
    else
      compare "$name" "$file" "$scratch/work/$name"
    fi
  done < <(find "$expected/files" -type f -print0 | sort -z)
fi

if [ -f "$expected/absent" ]; then
  while IFS= read -r name; do
    [ -z "$name" ] && continue
    if [ -e "$scratch/work/$name" ]; then
      echo "UNEXPECTED file after the run: $name"
      failed=1
    fi
  done <"$expected/absent"
fi

exit $failed
