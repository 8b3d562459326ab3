#!/usr/bin/env bash
# Draws the sample reports under docs/samples/ with the tool of the normal build
# (run ./scripts/setup.sh first): one ventilated hall with a skylight and placed
# units, entered in English and in Czech, as a user of each language would; with
# its plan as a DXF drawing (and a picture of that drawing as a DXF reader sees
# it) and the project as an xlsx workbook.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/zefrant-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sample() {
  local lang=$1 design=$2
  "$cli" --lang "$lang" new "$work/$lang.zfp"
  # The openings question of every surface is answered as the tool answers it.
  "$cli" --lang "$lang" input "$work/$lang.zfp" "$design" 2> >(grep -v '^box question' >&2)
  "$cli" --lang "$lang" units "$work/$lang.zfp" tests/cli/report/ventilation-units.json
  "$cli" --lang "$lang" report "$work/$lang.zfp" --pdf "docs/samples/report-$lang.pdf"
  "$cli" --lang "$lang" plan "$work/$lang.zfp" --dxf "docs/samples/plan-$lang.dxf"
  "$cli" --lang "$lang" sheet "$work/$lang.zfp" --xlsx "docs/samples/project-$lang.xlsx"
  build/tests/dxf_picture "docs/samples/plan-$lang.dxf" "docs/samples/plan-$lang.png" 1400
}
sample EN docs/samples/design-EN.json
sample CZ docs/samples/design-CZ.json
