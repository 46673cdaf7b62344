#!/usr/bin/env bash
# Draws the authoring tool's built-in images into data/images/ (or the folder given as
# the first argument): the wizard-preview miniature, the Build button, task-pane, menu and
# About pictures, the program icon, the wizard preview's wizard image and label strip, and
# the setup's icon, header image and separator, and the update client's pictures (step
# marks, header picture and busy indicator). The drawn files live in the repository, so a build
# needs no ImageMagick; run this again after changing a drawing and commit the results.
#
# Every icon is a stack of flat parts. A part is drawn 8 times larger without
# anti-aliasing and box-scaled down: edges on whole pixels stay sharp, curves and
# diagonals come out smooth. An outlined part gets a ring in its darker colour that is
# eroded out of the part's own shape, so every outline is exactly one pixel wide (more
# at 256) whatever the shape, and shapes need no hand-drawn borders.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# Only Debian's ImageMagick: another `convert` may come first on PATH.
IM=/usr/bin/convert
[ -x "$IM" ] || { echo "make-images: $IM missing (apt-get install imagemagick)" >&2; exit 1; }
out=${1:-$root/data/images}
mkdir -p "$out"
tmp=$(mktemp -d)
mkdir "$tmp/parts"
trap 'rm -rf "$tmp"' EXIT

# Palette: few colours, each with its outline shade.
paper=#FFFFFF;   slate=#56667C;  fold=#D5DDE8;   ink=#A3B1C2;  inkdark=#6F7E92
blue=#3B82D6;    blue_d=#1D4F8E; blue_l=#8DBDF0
yellow=#F6C744;  yellow_d=#A8790F; yellow_b=#E0A52A
green=#3FAE5A;   green_d=#1F6E35
tan=#D9A263;     tan_d=#85582A;  tan_l=#EDC28D;  tan_in=#9C6A35
metal=#C7D0DB;   metal_d=#56667C; steel=#8D9BAE
bezel=#3F4B5D;   bezel_d=#232A35
wood=#C0843F;    wood_d=#6E4A22
red=#DB4B3F;     red_d=#8E2620

# ---- part renderer -------------------------------------------------------------------

n=0
# start SIZE [UNIT] [OUTLINE]: a new SIZE x SIZE picture whose drawing coordinates are
# in units of UNIT pixels, with outlines OUTLINE pixels wide.
start() {
  S=$1; U=${2:-1}; W=${3:-1}; layers=()
  if [ "$S" -gt 64 ]; then K=4; else K=8; fi
}

# part OUTLINE FILL PRIMITIVES: one layer; coordinates are continuous (pixel x covers
# x..x+1), so "rectangle 2,2 6,6" fills pixels 2 to 5.
part() {
  n=$((n + 1))
  local m=$tmp/parts/m$n.png l=$tmp/parts/l$n.png b=$((S * K)) k=$((K * U))
  "$IM" -size ${b}x${b} xc:black +antialias -fill white -stroke none \
    -draw "affine $k,0,0,$k,-0.5,-0.5 $3" -scale ${S}x${S} -colorspace gray "$m"
  if [ -n "$1" ]; then
    "$IM" -size ${S}x${S} xc:"$1" "$m" -alpha off -compose CopyOpacity -composite \
      \( -size ${S}x${S} xc:"$2" \
         \( "$m" -virtual-pixel black -morphology Erode Square:"$W" \) \
         -alpha off -compose CopyOpacity -composite \) \
      -compose Over -composite PNG32:"$l"
  else
    "$IM" -size ${S}x${S} xc:"$2" "$m" -alpha off -compose CopyOpacity -composite PNG32:"$l"
  fi
  layers+=("$l")
}
o() { part "$2" "$1" "$3"; }   # o FILL OUTLINE PRIMITIVES: an outlined part
f() { part "" "$1" "$2"; }     # f FILL PRIMITIVES: a flat part (lines, glyphs, sheen)

# finish FILE: stacks the layers on a transparent picture.
finish() {
  local args=() l
  for l in "${layers[@]}"; do args+=("$l" -composite); done
  "$IM" -size ${S}x${S} xc:none -compose Over "${args[@]}" PNG32:"$1"
}

# ---- shape helpers (print drawing primitives) ----------------------------------------

# circle CX CY R
circle() { awk -v x="$1" -v y="$2" -v r="$3" 'BEGIN{printf "circle %g,%g %g,%g", x, y, x + r, y}'; }

# ring path: a circle as a closed sub-path, to punch holes with fill-rule evenodd.
ringpath() {
  awk -v x="$1" -v y="$2" -v r="$3" \
    'BEGIN{printf "M %g,%g a %g,%g 0 1,0 %g,0 a %g,%g 0 1,0 %g,0 Z", x - r, y, r, r, 2 * r, r, r, -2 * r}'
}

# gear CX CY ROUT RIN TEETH HOLE: a gear outline with a round hole.
gear() {
  awk -v cx="$1" -v cy="$2" -v ro="$3" -v ri="$4" -v n="$5" -v h="$6" 'BEGIN{
    pi = atan2(0, -1); step = 2 * pi / n; top = step * 0.22; base = step * 0.34
    s = "M"
    for (i = 0; i < n; i++) {
      a = i * step - pi / 2
      s = s sprintf(" %g,%g", cx + ri * cos(a - base), cy + ri * sin(a - base))
      s = s sprintf(" %g,%g", cx + ro * cos(a - top), cy + ro * sin(a - top))
      s = s sprintf(" %g,%g", cx + ro * cos(a + top), cy + ro * sin(a + top))
      s = s sprintf(" %g,%g", cx + ri * cos(a + base), cy + ri * sin(a + base))
      for (j = 1; j < 4; j++) {
        b = a + base + (step - 2 * base) * j / 4
        s = s sprintf(" %g,%g", cx + ri * cos(b), cy + ri * sin(b))
      }
    }
    printf "fill-rule evenodd path '\''%s Z M %g,%g a %g,%g 0 1,0 %g,0 a %g,%g 0 1,0 %g,0 Z'\''",
      s, cx - h, cy, h, h, 2 * h, h, h, -2 * h
  }'
}

# ellipsepath CX CY RX RY: an ellipse as a closed sub-path, for rings with evenodd.
ellipsepath() {
  awk -v x="$1" -v y="$2" -v rx="$3" -v ry="$4" \
    'BEGIN{printf "M %g,%g a %g,%g 0 1,0 %g,0 a %g,%g 0 1,0 %g,0 Z", x - rx, y, rx, ry, 2 * rx, rx, ry, -2 * rx}'
}

# scaled FACTOR X,Y...: the points multiplied by FACTOR.
scaled() {
  local m=$1; shift
  awk -v m="$m" '{for (i = 1; i <= NF; i++) { split($i, c, ","); printf "%s%g,%g", (i > 1 ? " " : ""), c[1] * m, c[2] * m }}' <<< "$*"
}

# rbox CX CY W H DEGREES: a rectangle turned about its centre.
rbox() {
  awk -v cx="$1" -v cy="$2" -v w="$3" -v h="$4" -v d="$5" 'BEGIN{
    a = d * atan2(0, -1) / 180; c = cos(a); s = sin(a); printf "polygon"
    split("-1 1 1 -1", xs); split("-1 -1 1 1", ys)
    for (i = 1; i <= 4; i++) {
      x = xs[i] * w / 2; y = ys[i] * h / 2
      printf " %g,%g", cx + x * c - y * s, cy + x * s + y * c
    }
  }'
}

# ---- icons ---------------------------------------------------------------------------

new16() {
  start 16
  o $paper $slate "polygon 2,0 10,0 14,4 14,16 2,16"
  o $fold $slate "polygon 9,0 10,0 14,4 14,5 9,5"
  finish "$1"
}

open16() {
  start 16
  o $yellow_b $yellow_d "polygon 0,2 6,2 7,3 14,3 14,14 0,14"
  o $yellow $yellow_d "polygon 0,14 2.5,7 16,7 13.5,14"
  finish "$1"
}

saveas16() {
  start 16
  o $blue $blue_d "polygon 0,0 13,0 16,3 16,16 0,16"
  o $metal $metal_d "rectangle 3,0 12,6"
  f $blue_d "rectangle 8,1 10,5"
  o $paper $slate "rectangle 2,8 14,15"
  f $ink "rectangle 4,10 12,11"
  f $ink "rectangle 4,12 10,13"
  finish "$1"
}

# Build: a gear with a green arrow, at 16 and 32.
build16() {
  start 16
  o $steel $slate "$(gear 7 7 7 5 8 2)"
  o $green $green_d "polygon 6,9 10,9 10,6 16,11.5 10,17 10,14 6,14"
  finish "$1"
}

build32() {
  start 32
  o $steel $slate "$(gear 13 13 12.5 9.4 9 3.5)"
  o $green $green_d "polygon 12,18 20,18 20,12 31,22 20,32 20,26 12,26"
  finish "$1"
}

help16() {
  start 16
  o $blue $blue_d "$(circle 8 8 8)"
  # A question mark of 2-pixel strokes on whole pixels: sharper than any curve at 16.
  f $paper "rectangle 6,3 10,4 rectangle 5,4 7,6 rectangle 9,4 11,7 rectangle 8,7 10,8 rectangle 7,8 9,10 rectangle 7,11 9,13"
  finish "$1"
}

# Task-pane groups, 32x32.
group_general() {
  start 32
  o $paper $slate "polygon 4,1 19,1 26,8 26,31 4,31"
  o $fold $slate "polygon 18,1 19,1 26,8 26,9 18,9"
  f $ink "rectangle 8,12 22,13"
  f $ink "rectangle 8,16 20,17"
  f $ink "rectangle 8,20 14,21"
  f $ink "rectangle 8,24 13,25"
  o $blue $blue_d "$(circle 23.5 23.5 8.5)"
  f $paper "rectangle 22.5,22 24.5,28"
  f $paper "$(circle 23.5 19.5 1.3)"
  finish "$1"
}

group_setup() {
  start 32
  o $tan_l $tan_d "polygon 2,8 8,3 24,3 18,8"
  o $tan_in $tan_d "polygon 18,8 24,3 24,26 18,31"
  o $tan $tan_d "rectangle 2,8 18,31"
  f $tan_l "rectangle 5,12 15,14"
  o $metal $slate "fill-rule evenodd path '$(ringpath 21.5 21.5 10.5) $(ringpath 21.5 21.5 2.5)'"
  f $blue_l "fill-rule evenodd path 'M 21.5,12 A 9.5,9.5 0 0,1 31,21.5 L 26,21.5 A 4.5,4.5 0 0,0 21.5,17 Z'"
  f $paper "fill-rule evenodd path 'M 21.5,31 A 9.5,9.5 0 0,1 12,21.5 L 17,21.5 A 4.5,4.5 0 0,0 21.5,26 Z'"
  finish "$1"
}

group_dialogs() {
  start 32
  o $paper $slate "rectangle 1,3 31,29"
  f $blue "rectangle 2,4 30,10"
  f $blue_l "rectangle 2,4 30,5"
  f $paper "rectangle 25,6 28,8"
  f $ink "rectangle 5,14 22,15"
  f $ink "rectangle 5,18 17,19"
  o $metal $slate "rectangle 18,22 28,27"
  finish "$1"
}

group_build() {
  start 32
  o $steel $slate "$(gear 12 20 11.5 8.6 9 3.2)"
  o $wood $wood_d "$(rbox 18 16 4 22 45)"
  o $metal $metal_d "$(rbox 24 9 15 6 45)"
  finish "$1"
}

group_system() {
  start 32
  o $metal $slate "polygon 12,23 20,23 21,27 11,27"
  o $metal $slate "rectangle 7,26 25,30"
  o $bezel $bezel_d "rectangle 1,3 31,24"
  f $blue "rectangle 3,5 29,21"
  f $blue_l "polygon 3,5 15,5 3,14"
  finish "$1"
}

# The product mark: an open box, seen from above a corner, with an arrow going in. It is
# laid out on a 32 grid and scaled for 48 and (at 8 times the unit, with a 6-pixel
# outline) 256; 16 has its own drawing, since the back flaps only blur at that size.
logo() { # SIZE [UNIT OUTLINE]
  start "$1" "${2:-1}" "${3:-1}"
  if [ "$1" -eq 16 ]; then
    o $tan_in $tan_d "polygon 8,5 15,8 8,11 1,8"
    o $blue $blue_d "polygon 6,0 10,0 10,4 13.5,4 8,10 2.5,4 6,4"
    o $tan $tan_d "polygon 1,8 8,11 8,16 1,13"
    o $tan_l $tan_d "polygon 15,8 8,11 8,16 15,13"
    return
  fi
  local m
  m=$(awk -v s="$1" -v u="${2:-1}" 'BEGIN{print s / 32 / u}')
  o $tan_l $tan_d "polygon $(scaled "$m" 2,15 16,9 16,4 2,10)"
  o $tan_l $tan_d "polygon $(scaled "$m" 30,15 16,9 16,4 30,10)"
  o $tan_in $tan_d "polygon $(scaled "$m" 16,9 30,15 16,21 2,15)"
  o $blue $blue_d "polygon $(scaled "$m" 12,0 20,0 20,10 25,10 16,20 7,10 12,10)"
  o $tan $tan_d "polygon $(scaled "$m" 2,15 16,21 16,32 2,26)"
  o $tan_l $tan_d "polygon $(scaled "$m" 30,15 16,21 16,32 30,26)"
}

# ---- the wizard-preview miniature ----------------------------------------------------

# A setup wizard page at 69x54: white page, picture strip at the left, a title and text
# lines, a separator and two buttons. Opaque, so it is drawn directly (corners inclusive).
preview() {
  "$IM" -size 69x54 xc:white +antialias \
    \( -size 22x42 gradient:'#2C66B0-#8CC2F2' \) -geometry +1+1 -composite \
    -fill none -stroke '#8C98A8' -draw "rectangle 0,0 68,53" -stroke none \
    -fill '#FFFFFF' -draw "polygon 6,13 11,10 16,13 11,16" \
    -fill '#D9E9FA' -draw "polygon 6,14 11,17 11,23 6,20" \
    -fill '#B4D2F2' -draw "polygon 16,14 11,17 11,23 16,20" \
    -fill '#556376' -draw "rectangle 27,5 58,7" \
    -fill '#AEB8C6' -draw "rectangle 27,12 63,12" -draw "rectangle 27,15 61,15" \
      -draw "rectangle 27,18 56,18" -draw "rectangle 27,24 62,24" -draw "rectangle 27,27 50,27" \
    -fill '#D3D9E1' -draw "rectangle 1,43 67,43" \
    -fill '#EEF1F5' -stroke '#8C98A8' -draw "roundrectangle 33,46 48,51 1,1" \
      -draw "roundrectangle 51,46 66,51 1,1" -stroke none \
    -fill '#8C98A8' -draw "rectangle 37,48 44,49" -draw "rectangle 55,48 62,49" \
    -strip -sampling-factor 1x1 -quality 95 "$1"
}

# ---- the wizard preview's pictures ---------------------------------------------------

# The built-in wizard image, 164x314: the left picture of a classic setup wizard. A
# vertical blue gradient with a soft light behind the product mark, which sits in the
# upper part with a faint shadow; two wide, barely visible arcs give the lower part some
# depth. Written as a plain 24-bit BMP.
wizard() {
  logo 96 3 2 && finish "$tmp/logo96.png"
  "$IM" -size 164x314 gradient:'#0C3370-#4F90DA' \
    \( -size 240x240 radial-gradient:'#FFFFFF-#FFFFFF00' -channel A -evaluate multiply 0.22 +channel \) \
      -geometry -38-16 -compose Over -composite \
    \( -size 164x314 xc:none -fill '#FFFFFF0D' -draw "circle 250,470 250,215" \
       -fill '#FFFFFF0A' -draw "circle -70,520 -70,250" \) -compose Over -composite \
    \( "$tmp/logo96.png" \( +clone -background '#00153A' -shadow 55x4+0+5 \) +swap \
       -background none -layers merge +repage \) -geometry +30+58 -compose Over -composite \
    -alpha off -type TrueColor BMP3:"$1"
}

# The label strip above the preview's buttons, 497x2: an etched line, shadow over light.
label_strip() {
  "$IM" -size 497x2 xc:'#FFFFFF' -fill '#A0A0A0' -draw "rectangle 0,0 496,0" -type TrueColor BMP3:"$1"
}

# The setup's header image, 55x55: the product mark on the white header panel.
setup_header() {
  logo 48 && finish "$tmp/logo48h.png"
  "$IM" -size 55x55 xc:white "$tmp/logo48h.png" -geometry +3+3 -compose Over -composite \
    -alpha off -type TrueColor BMP3:"$1"
}

# The separator line of the setup and the uninstaller, 497x2, as the JPEG they carry.
separator() {
  "$IM" -size 497x2 xc:'#FFFFFF' -fill '#A0A0A0' -draw "rectangle 0,0 496,0" \
    -type TrueColor -strip -sampling-factor 1x1 -quality 100 "$1"
}

# ---- the update client's pictures ----------------------------------------------------

# Step marks of the search page, 16x16: a finished step and a failed one.
update_done() {
  start 16
  o $green $green_d "polygon 0.5,8.5 3.5,5.5 6.5,8.5 12.5,2.5 15.5,5.5 6.5,14.5"
  finish "$1"
}

update_failed() {
  start 16
  o $red $red_d "polygon 1,4 4,1 8,5 12,1 15,4 11,8 15,12 12,15 8,11 4,15 1,12 5,8"
  finish "$1"
}

# The client's header picture, 48x48: a globe (the update server) with an arrow coming
# down from it.
update_header() {
  start 48
  o $blue $blue_d "$(circle 21 21 19)"
  f $blue_l "fill-rule evenodd path '$(ellipsepath 21 21 8 18) $(ellipsepath 21 21 6 16)'"
  f $blue_l "rectangle 3,20 39,22"
  f $blue_l "rectangle 7,11 35,12.5 rectangle 7,29.5 35,31"
  f $blue_l "rectangle 20,3 22,39"
  o $green $green_d "polygon 31,20 40,20 40,31 47,31 35.5,46 24,31 31,31"
  finish "$1"
}

# The busy indicator: 8 frames of 16x16, a ring of 8 dots whose dark head moves on
# clockwise by one dot a frame and leaves a fading trail. The client draws the frames
# itself from the strip; the GIF is the same animation for a browser.
loading_frame() { # FRAME FILE
  local j age colour
  start 16
  for j in 0 1 2 3 4 5 6 7; do
    age=$(( (8 + $1 - j) % 8 ))
    # From blue_d at the head (age 0) to a pale blue at the end of the trail (age 7).
    colour=$(awk -v t="$age" 'BEGIN{t /= 7
      printf "#%02X%02X%02X", (1 - t) * 29 + t * 207, (1 - t) * 79 + t * 218, (1 - t) * 142 + t * 232}')
    f "$colour" "$(awk -v j="$j" 'BEGIN{a = (j * 45 - 90) * atan2(0, -1) / 180
      printf "circle %g,%g %g,%g", 8 + 5.6 * cos(a), 8 + 5.6 * sin(a), 8 + 5.6 * cos(a) + 1.8, 8 + 5.6 * sin(a)}')"
  done
  finish "$2"
}

loading() { # STRIP GIF
  local i frames=()
  for i in 0 1 2 3 4 5 6 7; do loading_frame $i "$tmp/loading$i.png"; frames+=("$tmp/loading$i.png"); done
  "$IM" "${frames[@]}" +append -strip PNG32:"$1"
  # GIF keeps no partial transparency: the dots' edges become opaque or clear.
  "$IM" -dispose Background -delay 10 -loop 0 "${frames[@]}" -channel A -threshold 50% +channel \
    -strip -layers Optimize "$2"
}

# ---- write everything ----------------------------------------------------------------

# ico FILE PNG...: an icon file of 32-bit entries (the 256 one stored as PNG).
ico() { local f=$1; shift; "$IM" "$@" "$f"; }

preview "$out/preview.jpg"

build32 "$tmp/build32.png";        ico "$out/build32.ico" "$tmp/build32.png"
group_general "$tmp/g1.png";       ico "$out/group-general.ico" "$tmp/g1.png"
group_setup "$tmp/g2.png";         ico "$out/group-setup.ico" "$tmp/g2.png"
group_dialogs "$tmp/g3.png";       ico "$out/group-dialogs.ico" "$tmp/g3.png"
group_build "$tmp/g4.png";         ico "$out/group-build.ico" "$tmp/g4.png"
group_system "$tmp/g5.png";        ico "$out/group-system.ico" "$tmp/g5.png"
new16 "$tmp/new16.png";            ico "$out/new16.ico" "$tmp/new16.png"
open16 "$tmp/open16.png";          ico "$out/open16.ico" "$tmp/open16.png"
saveas16 "$tmp/saveas16.png";      ico "$out/saveas16.ico" "$tmp/saveas16.png"
build16 "$tmp/build16.png";        ico "$out/build16.ico" "$tmp/build16.png"
help16 "$tmp/help16.png";          ico "$out/help16.ico" "$tmp/help16.png"

logo 16 && finish "$tmp/logo16.png"
logo 32 && finish "$tmp/logo32.png"
logo 48 && finish "$tmp/logo48.png"
logo 256 8 6 && finish "$tmp/logo256.png"
ico "$out/about.ico" "$tmp/logo48.png" "$tmp/logo32.png"
ico "$out/zendrikolbar.ico" "$tmp/logo16.png" "$tmp/logo32.png" "$tmp/logo48.png" "$tmp/logo256.png"

wizard "$out/wizard.bmp"
# The same pixels for the setup runtime, which carries them in every setup: a tenth of the
# bytes as PNG.
"$IM" "$out/wizard.bmp" -strip -define png:compression-level=9 "$out/wizard.png"
label_strip "$out/label-strip.bmp"
setup_header "$out/setup-header.bmp"
separator "$out/separator.jpg"
ico "$out/setup.ico" "$tmp/logo48.png" "$tmp/logo32.png" "$tmp/logo16.png"

update_done "$out/update-done.png"
update_failed "$out/update-failed.png"
update_header "$out/update-header.png"
loading "$out/loading-frames.png" "$out/loading.gif"

# Keep the drawn PNGs when asked, for a contact sheet.
if [ -n "${ZK_ART_KEEP:-}" ]; then cp "$tmp"/*.png "$ZK_ART_KEEP"/; fi
echo "make-images: wrote $(ls "$out" | wc -l) files to $out"
