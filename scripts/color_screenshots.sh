#!/usr/bin/env bash
# Renders the pictures of the color and print quality pages and their dialogs into docs/color/,
# from the sample color and mono printers in a fresh machine root.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"
root="$(mktemp -d /tmp/qvhost-color-XXXXXX)"
shots="$root/shots"
out="$here/docs/color"
trap 'rm -rf "$root"' EXIT
qvhost() { "$build_dir/bin/qvhost" --root "$root" "$@" >/dev/null; }

qvhost init --computer QV-OFFICE
qvhost driver add "Quorvel QV9000Z PS" --ppd "$here/samples/ppd/QV9000Z.PPD"
qvhost printer add "QV Office" --driver "Quorvel QV9000Z PS" --port null:
qvhost driver add "Quorvel QV5000M PS" --ppd "$here/samples/ppd/QV5000M.PPD"
qvhost printer add "QV Mono" --driver "Quorvel QV5000M PS" --port null:

qvhost sheet "QV Office" --screenshots "$shots" --script - <<'SCRIPT'
page 手动颜色
select 1172 手动
select 1179 手动
select 1198 开
screenshot manual-color-page
click 1228
select 1178 sRGB逼真
select 1181 显示 - 纯黑色
select 1032 US CMYK
screenshot color-correction-dialog
click 1
click 1231
slide 1182 -2
slide 1195 3
screenshot color-balance-dialog
click 1
click 1253
slide 1250 2
slide 1249 3
select 1263 开
screenshot rgb-quality-dialog
click 2
cancel
SCRIPT

qvhost sheet "QV Mono" --screenshots "$shots" --script - <<'SCRIPT'
page 单色打印质量
select 1261 手动
slide 1252 -2
slide 1251 3
select 1263 开
screenshot mono-quality-page
cancel
SCRIPT

mkdir -p "$out"
for name in manual-color-page color-correction-dialog color-balance-dialog rgb-quality-dialog \
  mono-quality-page; do
  cp "$shots/$name.png" "$out/$name.png"
done
echo "pictures in $out"
