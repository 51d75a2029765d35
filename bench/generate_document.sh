#!/usr/bin/env bash
# Writes a DSC PostScript document of N pages (default 50000) to stdout: a small prolog and
# setup, and on each page a few lines of PostScript (a heading, a line of text, a rule).
set -euo pipefail
pages="${1:-50000}"
awk -v pages="$pages" 'BEGIN {
  print "%!PS-Adobe-3.0"
  print "%%Title: Benchmark document"
  print "%%Creator: generate_document.sh"
  print "%%Pages: " pages
  print "%%BoundingBox: 0 0 595 842"
  print "%%EndComments"
  print "%%BeginProlog"
  print "/heading { /Helvetica-Bold findfont 18 scalefont setfont moveto show } bind def"
  print "/body { /Helvetica findfont 11 scalefont setfont moveto show } bind def"
  print "%%EndProlog"
  print "%%BeginSetup"
  print "/rulewidth 0.5 def"
  print "%%EndSetup"
  for (page = 1; page <= pages; ++page) {
    print "%%Page: " page " " page
    print "(Section " page ") 72 770 heading"
    print "(Line of text on page " page " of the benchmark document.) 72 740 body"
    print "newpath 72 730 moveto 523 730 lineto rulewidth setlinewidth stroke"
    print "showpage"
  }
  print "%%Trailer"
  print "%%EOF"
}'
