#!/bin/sh
# Checks the PostScript file printed by shell_list_printing_test with Ghostscript: as many
# pages as the job counted, the footer macro expanded on page 2, and PNG pages for a look.
set -u
dir=$1
ps="$dir/printed_list.ps"
pages=$(cat "$dir/printed_list.pages" 2>/dev/null) || { echo "no page count"; exit 1; }
command -v gs >/dev/null || { echo "gs missing: skipped"; [ "${CI:-}" = true ] && exit 1; exit 0; }
[ -s "$ps" ] || { echo "no PostScript output"; exit 1; }
rm -f "$dir"/printed_page_*.png
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r40 -sOutputFile="$dir/printed_page_%d.png" "$ps" || exit 1
rendered=$(ls "$dir"/printed_page_*.png | wc -l)
[ "$rendered" -eq "$pages" ] || { echo "rendered $rendered pages, the job counted $pages"; exit 1; }
# txtwrite writes the blanks of the printer font as no-break spaces.
text=$(gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- "$ps" | sed "s/\xc2\xa0/ /g")
echo "$text" | grep -q "Page : 2 / $pages" || { echo "footer 'Page : 2 / $pages' not found"; exit 1; }
echo "$text" | grep -q "File number 1 & more" || { echo "first row not found"; exit 1; }
echo "printed $pages pages"
