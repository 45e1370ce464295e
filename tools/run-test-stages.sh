#!/usr/bin/env bash
# Runs the stages of `make test` one after the other, each to its end even when an earlier one
# failed, and closes with one line per stage (its time and result) and the total.
# Usage: tools/run-test-stages.sh "MAKE COMMAND" NAME=TARGET...
set -uo pipefail
make_command=$1; shift
summary=()
failed=0
start=$(date +%s)
for stage in "$@"; do
  name=${stage%%=*}; target=${stage#*=}
  echo "=== stage $name (make $target)"
  began=$(date +%s)
  if $make_command "$target"; then result=passed; else result=FAILED; failed=1; fi
  seconds=$(( $(date +%s) - began ))
  line=$(printf 'stage %-8s %4d s  %dm%02ds  %s' "$name" "$seconds" $((seconds / 60)) $((seconds % 60)) "$result")
  echo "$line"
  summary+=("$line")
done
total=$(( $(date +%s) - start ))
echo "=== timing"
printf '%s\n' "${summary[@]}"
printf 'total          %4d s  %dm%02ds  %s\n' "$total" $((total / 60)) $((total % 60)) \
       "$([ $failed -eq 0 ] && echo passed || echo FAILED)"
exit $failed
