#!/usr/bin/env bash
# Every command of the README's first code block, other than the test command
# itself, is run with --dry-run: each must understand its arguments. A README
# command that a change of its script broke would otherwise only show when a
# reader types it.
# Exit status: 0 when every command parses, 1 otherwise.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# The lines between the first ``` fence and the next one, comments dropped.
commands=$(awk '/^```/ { if (inside) exit; inside = 1; next } inside' README.md | sed -e 's/[[:space:]]#.*$//' \
  -e 's/[[:space:]]*$//' | grep -v '^[[:space:]]*$' || true)
if [ -z "$commands" ]; then
  echo "check-readme-commands: the README has no first code block with commands" >&2
  exit 1
fi

failed=0
checked=0
while IFS= read -r command; do
  read -r -a words <<<"$command"
  script=${words[0]}
  case $script in
    ./scripts/test.sh) continue ;;  # the command this check runs within
  esac
  # Only a script that knows --dry-run may be asked: another one would run.
  if [ ! -f "$script" ] || ! grep -q -- '--dry-run' "$script"; then
    echo "check-readme-commands: FAIL: $command: $script does not take --dry-run" >&2
    failed=1
    continue
  fi
  if out=$("${words[@]}" --dry-run 2>&1 </dev/null); then
    echo "check-readme-commands: ok: $command"
  else
    echo "check-readme-commands: FAIL: $command: $out" >&2
    failed=1
  fi
  checked=$((checked + 1))
done <<<"$commands"
echo "check-readme-commands: $checked commands checked"
exit "$failed"
