#!/usr/bin/env bash
# Checks that the German and English translation files are complete: lupdate is run over the sources on
# copies of them, and any text that is new (unfinished) or gone from the sources (vanished, obsolete)
# fails the check. Fix with: lupdate -locations none -no-obsolete src -ts translations/*.ts, then translate.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${LUPDATE:-lupdate}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$root"/translations/*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" -silent -locations none "$root/src" -ts "$copy"
    if grep -n 'type="\(unfinished\|vanished\|obsolete\)"' "$copy" >"$work/found"; then
        echo "$(basename "$ts"): incomplete:"
        grep -B2 'type="\(unfinished\|vanished\|obsolete\)"' "$copy" | grep '<source>' || true
        status=1
    fi
done
[ $status -eq 0 ] && echo "translations complete"
exit $status
