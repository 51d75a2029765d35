#!/usr/bin/env bash
# Sets up the machine, builds, installs the sample colour printer into a fresh machine root,
# chooses a confidential job with user name and PIN on the output options page, prints it and
# shows the stream the printer would get: its PJL header, the start of the PostScript, and its
# PJL trailer; prints a system PDF turned into PostScript 2-up and pictures its first sheet;
# prints three pages with watermarks and pictures the first two; then
# opens the printer's document settings sheet again and writes pictures of its About page, its
# output options set up for a fax and the fax cover page setup dialog; last it chooses two
# watermarks on the 水印 page, pictures it with its pickers and shows what the job hands on of
# them.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"
root="${QV_DEMO_ROOT:-$(mktemp -d /tmp/qvhost-demo-XXXXXX)}"

"$here/scripts/setup.sh"
qvhost() { "$build_dir/bin/qvhost" --root "$root" "$@"; }

echo
echo "== A fresh machine in $root"
qvhost init --computer QV-OFFICE
qvhost driver add "Quorvel QV9000Z PS" --ppd "$here/samples/ppd/QV9000Z.PPD"
mkdir -p "$root/c/spool"
qvhost printer add "QV Office" --driver "Quorvel QV9000Z PS" --port 'C:\spool\office.prn'

shots="$root/screenshots"
echo
echo "== A confidential job for user alice with PIN 1234, chosen on the output options page"
qvhost --user alice sheet "QV Office" --script "$here/samples/scripts/confidential-job.txt" \
  --screenshots "$shots" --result "$root/confidential-sheet.json"
grep -E '"(OutputDestination|HoldUserName|HoldPin)"' "$root/confidential-sheet.json"
job="$root/confidential.prn"
qvhost --user alice print "QV Office" --document "$here/samples/documents/report.ps" -o "$job"

show() { LC_ALL=C sed 's/\x1b/<ESC>/g'; }
echo
echo "== PJL header and the start of the PostScript"
head -n 20 "$job" | show
echo "..."
echo
echo "== PJL trailer"
tail -c 80 "$job" | show
echo
echo
if command -v gs >/dev/null; then
  pages=$(gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox "$job" 2>&1 | grep -c '^%%BoundingBox' || true)
  echo "== Ghostscript renders $pages pages from it"
fi
echo "== The status program was started with:"
sleep 0.2
cat "$root/statusmonitor.log" 2>/dev/null || echo "(nothing yet)"

echo
echo "== A document no one here wrote: the shared-mime-info manual (a PDF of the system's"
echo "   documentation) turned into PostScript by pdftops, printed 2-up"
source_pdf=$(ls /usr/share/doc/shared-mime-info/*.pdf | head -n 1)
pdftops "$source_pdf" "$root/mime-manual.ps"
nup="$root/mime-manual-2up.prn"
qvhost --user alice print "QV Office" --document "$root/mime-manual.ps" --option %PagePerSheet=2 -o "$nup"
if command -v gs >/dev/null; then
  sheets=$(gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox "$nup" 2>&1 | grep -c '^%%BoundingBox' || true)
  echo "== $(pdfinfo "$source_pdf" | awk '/^Pages:/ {print $2}') pages on $sheets sheets; the first sheet:"
  gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=png16m -r50 -dFirstPage=1 -dLastPage=1 -o "$root/mime-manual-2up-sheet1.png" "$nup"
  echo "$root/mime-manual-2up-sheet1.png"
fi
echo
echo "== Watermarks on the printed pages, first and other: \"密件\" on page 1, the dynamic"
echo "   \"用户名\" (用户：%用户名%) on the others, drawn by the printer's print processor"
marked="$root/watermarks.prn"
qvhost --user alice print "QV Office" --pages 3 --drawn -o "$marked" \
  --set WatermarksEnabled=1 --set WatermarkOrder=3 \
  --set FirstWatermark.Name=密件 --set FirstWatermark.Text=密件 \
  --set SecondWatermark.Name=用户名 --set SecondWatermark.Text=用户：%用户名% \
  --set SecondWatermark.Dynamic=1
if command -v gs >/dev/null; then
  for page in 1 2; do
    gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=png16m -r50 -dFirstPage=$page -dLastPage=$page \
      -o "$root/watermarks-page$page.png" "$marked"
    echo "$root/watermarks-page$page.png"
  done
fi
echo
echo "== The document settings sheet of QV Office: its About page, a fax set up, the cover page"
qvhost --user alice sheet "QV Office" --script "$here/samples/scripts/fax-cover-page.txt" \
  --screenshots "$shots" --result "$root/sheet.json"
grep -E '"(ended|saved|pages)"' "$root/sheet.json"
echo "== Pictures of the sheet's pages:"
ls "$shots"

echo
echo "== Watermarks: 草稿 on the first page, 用户名 on the others, chosen on the 水印 page"
qvhost --user alice sheet "QV Office" --script "$here/samples/scripts/watermarks.txt" \
  --screenshots "$shots" >/dev/null
echo "== What a job hands to whoever asks for its watermarks (order, then the first record):"
qvhost --user alice print "QV Office" --escape 0x10026/4@1 --escape 0x10027/704@1 \
  -o "$root/watermarks.prn" 2>&1 | cut -c1-96
ls "$shots"/watermark*

echo
echo "== A fax of three pages with its cover page, which the user-interface plug-in adds at the"
echo "   end of the document"
fax="$root/fax.prn"
qvhost --user alice print "QV Office" --pages 3 --set OutputDestination=3 --set Fax.FaxSendCoverPage=1 \
  --set Fax.FaxNumber=010-6552-8800 --set Fax.FaxRecipientName=王小明 --set Fax.FaxSenderName=李华 \
  --set Fax.FaxSenderCompany=北京示例有限公司 --set "Fax.FaxNotes=请在收到后回电。共三页，另附封面。" -o "$fax"
if command -v gs >/dev/null; then
  gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=png16m -r100 -dFirstPage=4 -dLastPage=4 -o "$root/fax-cover.png" "$fax"
  echo "== The cover page (the job's fourth page):"
  echo "$root/fax-cover.png"
fi
