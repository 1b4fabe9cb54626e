#!/usr/bin/env bash
# Fails when a text of the sources has no finished translation: lupdate brings a copy of each
# committed .ts file up to date with the sources, then every message of the copy must carry a
# finished, non-empty translation (each plural form included).
#   check_translations.sh LUPDATE GENERATE_PROJECT_SCRIPT PROJECT_CMAKE TS_FILE...
set -uo pipefail
lupdate="$1" generate="$2" project="$3"
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The same list of sources and include paths as the build's own lupdate target.
cmake -DIN_FILE="$project" -DOUT_FILE="$work/project.json" -P "$generate" || exit 2
failed=0
for ts in "$@"; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    if ! "$lupdate" -project "$work/project.json" -locations none -no-obsolete -ts "$copy" >"$work/log" 2>&1; then
        cat "$work/log"
        exit 2
    fi
    # lupdate marks the texts new to the file, and those whose source changed, unfinished.
    bad=$(grep -c 'type="unfinished"\|<translation></translation>\|<translation/>\|<numerusform></numerusform>\|<numerusform/>' "$copy")
    if [ "$bad" -ne 0 ]; then
        failed=1
        echo "FAIL: $(basename "$ts"): $bad text(s) without a finished translation:"
        grep -B3 'type="unfinished"\|<translation></translation>\|<translation/>\|<numerusform></numerusform>\|<numerusform/>' "$copy" |
            grep '<source>' | sed 's/^ */    /'
    fi
    # Texts that left the sources stay out of the committed file.
    if ! cmp -s <(grep -c '<message' "$ts") <(grep -c '<message' "$copy"); then
        failed=1
        echo "FAIL: $(basename "$ts") holds $(grep -c '<message' "$ts") texts, the sources $(grep -c '<message' "$copy")"
    fi
done
[ "$failed" -eq 0 ] && echo "every text translated"
[ "$failed" -eq 0 ] || echo "Update with: cmake --build <build> --target zrk-pro_lupdate, then translate in translations/*.ts"
exit "$failed"
