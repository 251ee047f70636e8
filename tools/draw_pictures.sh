#!/usr/bin/env bash
# Draws the installer's artwork and the game's icon from scratch with ImageMagick:
#   assets/pictures/banner.jpg        530x100  title banner: pool table, rack, cue and the name
#   assets/pictures/error_banner.jpg  470x47   green strip with a puff of smoke and "Oops!" heading
#   assets/pictures/error_side.jpg    144x247  cartoon chemist holding a smoking test tube
#   assets/icon/kestrowin.ico         16, 32 and 48 pixel pool ball on felt
# Run from anywhere:  tools/draw_pictures.sh
# Output is byte-for-byte reproducible for a given ImageMagick and font version.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
pictures=$root/assets/pictures
icons=$root/assets/icon
font_title=/usr/share/fonts/opentype/urw-base35/URWBookman-DemiItalic.otf
font_text=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

for f in "$font_title" "$font_text"; do
  [ -r "$f" ] || { echo "draw_pictures: missing font $f (run scripts/setup.sh)" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "draw_pictures: ImageMagick not found (run scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$pictures" "$icons"

# Everything is drawn this many times larger and shrunk at the end; that is the anti-aliasing.
S=4

# Writes a plain baseline JFIF, YCbCr at 8 bits, without metadata. Full-resolution colour keeps the
# thin gold and white lettering from bleeding into the green.
save_jpeg() {
  local in=$1 out=$2 quality=$3
  convert "$in" -background black -alpha remove -alpha off -colorspace sRGB -type TrueColor \
    -strip -interlace none -sampling-factor 1x1,1x1,1x1 -define jpeg:optimize-coding=true \
    -quality "$quality" "JPEG:$out"
}

# Fills SHAPE (MVG primitives) on CANVAS with the image the remaining arguments describe.
paint() {
  local canvas=$1 shape=$2
  shift 2
  local size
  size=$(identify -format '%wx%h' "$canvas")
  convert "$canvas" \
    \( -size "$size" "$@" \( -size "$size" xc:black -fill white -stroke none -draw "$shape" \) \
       -alpha off -compose CopyOpacity -composite \) \
    -compose Over -composite "$canvas"
}

# A lit pool ball. KIND is solid, stripe or plain; DX,DY turn the number spot away from the viewer;
# LABEL, if given, is printed on the spot (only legible on big balls, so the small ones go without).
ball() {
  local out=$1 n=$2 colour=$3 kind=$4 dx=$5 dy=$6 label=${7:-}
  local ax ay az px py pz white
  read -r ax ay az px py pz < <(awk -v dx="$dx" -v dy="$dy" 'BEGIN {
    l = sqrt(dx*dx + dy*dy + 1); x = dx/l; y = dy/l; z = 1/l
    m = sqrt(x*x + y*y); if (m < 1e-6) { ax = 0; ay = 1 } else { ax = -y/m; ay = x/m }
    printf "%.5f %.5f 0 %.5f %.5f %.5f\n", ax, ay, x, y, z }')
  case $kind in
    solid)  white="spot>0.94" ;;
    stripe) white="abs(band)>0.52 || spot>0.955" ;;
    plain)  white="0" ;;
  esac
  local r=$((n / 2))
  local spot_print=(-size "${n}x${n}" xc:white)
  if [ -n "$label" ]; then
    spot_print+=(-font "$font_text" -pointsize $((n * 21 / 100)) -fill black -gravity center
                 -annotate "$(awk -v x="$px" -v y="$py" -v r="$r" 'BEGIN { printf "%+.0f%+.0f", x * r, y * r }')" "$label")
  fi
  convert -size "${n}x${n}" "xc:$colour" \( "${spot_print[@]}" \) -fx "
    rad = w/2; nx = (i+0.5-rad)/rad; ny = (j+0.5-rad)/rad; nz = sqrt(max(0, 1-nx*nx-ny*ny));
    spot = nx*$px + ny*$py + nz*$pz; band = nx*$ax + ny*$ay + nz*$az;
    diffuse = max(0, -0.42*nx - 0.52*ny + 0.744*nz);
    halfway = max(0, -0.232*nx - 0.287*ny + 0.929*nz);
    bounce = max(0, 0.6*ny + 0.3*nz) * 0.12;
    paint = ($white) ? 0.96*v : u;
    paint*(0.16 + 0.84*diffuse + bounce) + 0.9*pow(halfway, 70) + 0.18*pow(halfway, 10)*diffuse" \
    \( -size "${n}x${n}" xc:black -fill white -draw "circle $r,$r $r,0.6" \) \
    -alpha off -compose CopyOpacity -composite +repage "$out"
}

# Perspective of the table seen from its long side: world X runs along the table, Z away from the
# viewer, Y up; the cloth is Y=0. Prints shell assignments of the screen-space shapes, in 1/S pixels.
banner_geometry='
function sx(X, Y, Z) { return S * (cx + F * X / Z) }
function sy(X, Y, Z) { return S * (yh + F * (h - Y) / Z) }
function pt(X, Y, Z) { return sprintf("%.1f,%.1f", sx(X, Y, Z), sy(X, Y, Z)) }
function quad(a, b, c, d) { return "polygon " a " " b " " c " " d }
function ellipse(X, Y, Z, r,   rx) {
  rx = S * F * r / Z
  return sprintf("ellipse %.1f,%.1f %.1f,%.1f 0,360", sx(X, Y, Z), sy(X, Y, Z), rx, rx * (h - Y) / Z)
}
BEGIN {
  cx = 148; F = 300; h = 2.0; zn = 3.0; zf = 4.0; L = 1.06
  cu = 0.045; rw = 0.1; yc = 0.03; yr = 0.045; yb = -0.14; R = 0.055
  li = L + cu; lo = li + rw; zi1 = zn - cu; zi2 = zf + cu; zo1 = zi1 - rw; zo2 = zi2 + rw
  yh = 7 - F * (h - yr) / zo2

  printf "apron=\x27%s\x27\n", quad(pt(-lo, yr, zo1), pt(lo, yr, zo1), pt(lo, yb, zo1), pt(-lo, yb, zo1))
  printf "apron_top=%.0f\napron_bottom=%.0f\n", sy(0, yr, zo1), sy(0, yb, zo1)
  printf "apron_edge=\x27line %s %s\x27\n", pt(-lo, yr, zo1), pt(lo, yr, zo1)
  printf "table_outline=\x27polygon %s %s %s %s\x27\n", pt(-lo, yr, zo2), pt(lo, yr, zo2), pt(lo, yb, zo1), pt(-lo, yb, zo1)
  printf "rail=\x27%s\x27\n", quad(pt(-lo, yr, zo1), pt(lo, yr, zo1), pt(lo, yr, zo2), pt(-lo, yr, zo2))
  printf "rail_top=%.0f\nrail_bottom=%.0f\n", sy(0, yr, zo2), sy(0, yr, zo1)
  printf "rail_inner=\x27%s\x27\n", quad(pt(-li, yr, zi1), pt(li, yr, zi1), pt(li, yr, zi2), pt(-li, yr, zi2))
  printf "cushion_far=\x27%s\x27\n", quad(pt(-li, yc, zi2), pt(li, yc, zi2), pt(L, 0, zf), pt(-L, 0, zf))
  printf "cushion_near=\x27%s\x27\n", quad(pt(-li, yc, zi1), pt(li, yc, zi1), pt(L, 0, zn), pt(-L, 0, zn))
  printf "cushion_sides=\x27%s %s\x27\n", quad(pt(-li, yc, zi1), pt(-li, yc, zi2), pt(-L, 0, zf), pt(-L, 0, zn)), \
    quad(pt(li, yc, zi1), pt(li, yc, zi2), pt(L, 0, zf), pt(L, 0, zn))
  printf "felt=\x27%s\x27\n", quad(pt(-L, 0, zn), pt(L, 0, zn), pt(L, 0, zf), pt(-L, 0, zf))
  zm = (zn + zf) / 2
  printf "felt_centre=%.0f,%.0f\nfelt_radii=%.0f,%.0f\n", sx(-0.1, 0, zm), sy(0, 0, zm), S * F * L / zm * 1.2, (sy(0, 0, zn) - sy(0, 0, zf)) * 0.95

  p = ellipse(-L - 0.015, 0, zn - 0.02, 0.072) " " ellipse(L + 0.015, 0, zn - 0.02, 0.072)
  p = p " " ellipse(-L - 0.015, 0, zf + 0.02, 0.072) " " ellipse(L + 0.015, 0, zf + 0.02, 0.072)
  p = p " " ellipse(0, 0, zn - 0.04, 0.064) " " ellipse(0, 0, zf + 0.04, 0.064)
  printf "pockets=\x27%s\x27\n", p
  d = ""
  for (k = -3; k <= 3; k++) if (k != 0)
    d = d " " ellipse(k * L / 4, yr, zo1 + rw / 2, 0.011) " " ellipse(k * L / 4, yr, zo2 - rw / 2, 0.011)
  for (k = 1; k <= 3; k++)
    d = d " " ellipse(-lo + rw / 2, yr, zn + k / 4, 0.011) " " ellipse(lo - rw / 2, yr, zn + k / 4, 0.011)
  printf "diamonds=\x27%s\x27\n", d

  # An eight-ball rack: the 8 in the middle of the third row, a solid and a stripe in the back corners.
  split("1 10 5 14 8 3 12 6 9 2 13 4 11 15 7", order, " ")
  ax = 0.46; az = 3.5; n = 0
  for (row = 0; row < 5; row++) for (k = 0; k <= row; k++) {
    n++; bx[n] = ax + row * 2 * R * 0.866; bz[n] = az + (k - row / 2) * 2 * R * 1.01; bn[n] = order[n]
  }
  n++; bx[n] = -0.52; bz[n] = 3.36; bn[n] = 0
  sh = ""
  for (k = 1; k <= n; k++) sh = sh " " ellipse(bx[k] + R * 0.45, 0, bz[k] + R * 0.25, R * 1.05)
  printf "ball_shadows=\x27%s\x27\n", sh
  # Far balls first so that nearer ones overlap them.
  printf "balls=\x27"
  for (done = 0; done < n; done++) {
    best = 0
    for (k = 1; k <= n; k++) if (!used[k] && (best == 0 || bz[k] > bz[best])) best = k
    used[best] = 1; rs = S * F * R / bz[best]
    printf "%d %.0f %.0f %.0f\n", bn[best], sx(bx[best], R, bz[best]) - rs, sy(bx[best], R, bz[best]) - rs, 2 * rs
  }
  printf "\x27\n"

  # The cue lies on the line from the cue ball to the apex ball, its butt raised to clear the rail.
  dx = ax - bx[n]; dz = az - bz[n]; l = sqrt(dx*dx + dz*dz); dx /= l; dz /= l
  tx = bx[n] - dx * (R + 0.05); tz = bz[n] - dz * (R + 0.05); ty = R
  len = 1.6; ex = tx - dx * len; ez = tz - dz * len; ey = 0.32
  x1 = sx(tx, ty, tz); y1 = sy(tx, ty, tz); x2 = sx(ex, ey, ez); y2 = sy(ex, ey, ez)
  ux = x2 - x1; uy = y2 - y1; ul = sqrt(ux*ux + uy*uy); nx = -uy / ul; ny = ux / ul
  if (ny > 0) { nx = -nx; ny = -ny }
  wt = S * F * 0.013 / tz; wb = S * F * 0.028 / ez
  printf "cue_length=%.0f\n", ul
  printf "cue_corners=\x27%.1f,%.1f %.1f,%.1f %.1f,%.1f %.1f,%.1f\x27\n", x1 + nx*wt, y1 + ny*wt, x1 - nx*wt, y1 - ny*wt, x2 + nx*wb, y2 + ny*wb, x2 - nx*wb, y2 - ny*wb
  # Its shadow falls on the cloth down and to the right, further away the higher the cue is.
  x1 = sx(tx + 0.5*ty, 0, tz + 0.3*ty); y1 = sy(tx + 0.5*ty, 0, tz + 0.3*ty)
  x2 = sx(ex + 0.5*ey, 0, ez + 0.3*ey); y2 = sy(ex + 0.5*ey, 0, ez + 0.3*ey)
  printf "cue_shadow=\x27polygon %.1f,%.1f %.1f,%.1f %.1f,%.1f %.1f,%.1f\x27\n", x1 + nx*wt, y1 + ny*wt, x1 - nx*wt, y1 - ny*wt, x2 - nx*wb, y2 - ny*wb, x2 + nx*wb, y2 + ny*wb
}'

# Ball 0 is the cue ball; 1 to 8 are the solids and 9 to 15 the stripes in the colours of 1 to 7.
ball_colour() {
  local colours=('#f4c20d' '#1b3fae' '#d3231f' '#54268a' '#f06a12' '#0f7d3c' '#7d1a1f' '#141414')
  local n=$1
  if [ "$n" -eq 0 ]; then echo '#f6f2e4'; elif [ "$n" -le 8 ]; then echo "${colours[$((n - 1))]}"; else echo "${colours[$((n - 9))]}"; fi
}

ball_kind() {
  local n=$1
  if [ "$n" -eq 0 ]; then echo plain; elif [ "$n" -le 8 ]; then echo solid; else echo stripe; fi
}

# Text filled with a top-to-bottom gold ramp, outlined dark and casting a soft shadow.
# Arguments: canvas, text, font, point size, gravity offset, outline radius.
gold_text() {
  local canvas=$1 text=$2 font=$3 size=$4 offset=$5 outline=$6
  local geometry w h
  geometry=$(identify -format '%wx%h' "$canvas"); w=${geometry%x*}; h=${geometry#*x}
  convert -size "$geometry" xc:black -font "$font" -pointsize "$size" -fill white -gravity center \
    -annotate "$offset" "$text" "$work/text_mask.miff"
  local top bottom
  read -r top bottom < <(convert "$work/text_mask.miff" -trim -format '%Y %h\n' info: | awk '{ sub(/^\+/, "", $1); print $1, $1 + $2 }')
  local mid=$(((top + bottom) / 2))
  convert "$work/text_mask.miff" -morphology Dilate "Disk:$outline" "$work/text_outline.miff"
  convert \( -size "${w}x$top" xc:'#fffbe0' \) \
          \( -size "${w}x$((mid - top))" gradient:'#fffbe0-#f5c842' \) \
          \( -size "${w}x$((bottom - mid))" gradient:'#f5c842-#b8740c' \) \
          \( -size "${w}x$((h - bottom))" xc:'#b8740c' \) -append +repage "$work/text_gold.miff"
  convert "$canvas" \
    \( "$work/text_outline.miff" -morphology Dilate "Disk:$((outline / 2))" -background black -virtual-pixel black \
       -distort SRT "0,0 1 0 $((2 * S)),$((3 * S))" -blur "0x$((3 * S))" -negate +level 30%,100% \) \
    -compose Multiply -composite \
    \( -size "$geometry" xc:'#0c2410' \( "$work/text_outline.miff" -alpha off \) -compose CopyOpacity -composite \) \
    -compose Over -composite \
    \( "$work/text_gold.miff" \( "$work/text_mask.miff" -alpha off \) -compose CopyOpacity -composite \) \
    -compose Over -composite "$canvas"
}

# The shapes come from evaluating banner_geometry's output, which the linter cannot follow.
# shellcheck disable=SC2154
draw_banner() {
  local W=$((530 * S)) H=$((100 * S))
  local canvas=$work/banner.miff
  eval "$(awk -v S="$S" "$banner_geometry")"

  convert -size "${W}x$H" -define gradient:center=$((390 * S)),$((42 * S)) -define gradient:radii=$((330 * S)),$((95 * S)) \
    radial-gradient:'#2f8a46-#0b3a19' "$canvas"
  convert "$canvas" \( -size "${W}x$H" xc:white -fill '#606060' -stroke none -draw "translate $((4 * S)),$((4 * S)) $table_outline" -blur "0x$((5 * S))" \) -compose Multiply -composite "$canvas"

  paint "$canvas" "$apron" -define gradient:vector=0,"$apron_top",0,"$apron_bottom" gradient:'#74391a-#2a1006'
  paint "$canvas" "$rail" -define gradient:vector=0,"$rail_top",0,"$rail_bottom" gradient:'#6d3414-#a0582a'
  convert "$canvas" -fill none -stroke '#d49a62' -strokewidth $((S * 3 / 4)) -draw "$apron_edge" \
    -stroke '#1c0a03' -strokewidth $((S / 2)) -draw "translate 0,$(((apron_bottom - apron_top) * 2 / 3)) $apron_edge" "$canvas"
  paint "$canvas" "$rail_inner" xc:'#0b4f22'
  paint "$canvas" "$cushion_far" xc:'#1c9446'
  paint "$canvas" "$cushion_sides" xc:'#127636'
  paint "$canvas" "$cushion_near" xc:'#0d5e29'
  paint "$canvas" "$felt" -define gradient:center="$felt_centre" -define gradient:radii="$felt_radii" \
    radial-gradient:'#3dbd63-#117a37'
  paint "$canvas" "$pockets" xc:'#070504'
  paint "$canvas" "$diamonds" xc:'#f5ecd2'

  convert "$canvas" \( -size "${W}x$H" xc:white -fill '#7a7a7a' -stroke none -draw "$ball_shadows" -draw "$cue_shadow" \
    -blur "0x$((S * 3 / 2))" \) -compose Multiply -composite "$canvas"

  local n x y d i=0
  while read -r n x y d; do
    [ -n "$n" ] || continue
    i=$((i + 1))
    ball "$work/ball$i.miff" "$d" "$(ball_colour "$n")" "$(ball_kind "$n")" \
      "$(awk -v k="$i" 'BEGIN { printf "%.2f", sin(k * 2.3) * 0.45 }')" \
      "$(awk -v k="$i" 'BEGIN { printf "%.2f", cos(k * 1.7) * 0.35 - 0.15 }')"
    convert "$canvas" "$work/ball$i.miff" -geometry "+$x+$y" -compose Over -composite "$canvas"
  done <<< "$balls"

  draw_cue "$work/cue.miff" "$cue_length"
  local c1 c2 c3 c4 cl=$cue_length ch=64
  read -r c1 c2 c3 c4 <<< "$cue_corners"
  convert "$work/cue.miff" -alpha set -virtual-pixel transparent -background none -mattecolor none \
    -define distort:viewport="${W}x$H+0+0" \
    -distort Perspective "0,0 $c1  0,$ch $c2  $cl,0 $c3  $cl,$ch $c4" +repage "$work/cue_placed.miff"
  convert "$canvas" "$work/cue_placed.miff" -compose Over -composite "$canvas"

  gold_text "$canvas" "Kestrowin" "$font_title" $((46 * S)) "+$((135 * S))-$((6 * S))" $((2 * S))
  convert "$canvas" -font "$font_text" -pointsize $((9 * S)) -kerning $((3 * S)) -gravity center \
    -fill '#06240e' -annotate "+$((136 * S))+$((31 * S))" 'POOL  &  BILLIARDS' \
    -fill '#cfeec0' -annotate "+$((135 * S))+$((30 * S))" 'POOL  &  BILLIARDS' \
    -stroke '#cfeec0' -strokewidth $((S / 2)) \
    -draw "line $((294 * S)),$((80 * S)) $((317 * S)),$((80 * S))" -draw "line $((485 * S)),$((80 * S)) $((508 * S)),$((80 * S))" "$canvas"

  convert "$canvas" -filter Lanczos -resize "530x100!" "$work/banner_small.miff"
  save_jpeg "$work/banner_small.miff" "$pictures/banner.jpg" 90
}

# A cue laid out flat, tip at the left, 64 pixels thick, to be bent into perspective afterwards:
# tip, ferrule, maple shaft, joint ring, forearm with dark points reaching towards the tip, wrap.
# Round shading and a glint along its top make it a cylinder.
draw_cue() {
  local out=$1 l=$2 h=64
  p() { awk -v l="$l" -v f="$1" 'BEGIN { printf "%.0f", l * f }'; }
  convert -size "${l}x$h" xc:'#2b1207' \
    -fill '#3f6fb8' -draw "rectangle 0,0 $(p 0.008),$h" \
    -fill '#f3efe2' -draw "rectangle $(p 0.008),0 $(p 0.026),$h" \
    \( -size "$(p 0.50)x$h" -define gradient:vector=0,0,"$(p 0.50)",0 gradient:'#f2ddb0-#d6a868' \) \
    -geometry "+$(p 0.026)+0" -compose Over -composite \
    -fill '#cfd3d6' -draw "rectangle $(p 0.526),0 $(p 0.536),$h" \
    -fill '#e2b574' -draw "polygon $(p 0.536),0 $(p 0.68),0 $(p 0.536),$((h / 2)) $(p 0.68),$h $(p 0.536),$h" \
    -fill '#141414' -draw "rectangle $(p 0.78),0 $(p 0.93),$h" \
    -fill '#cfd3d6' -draw "rectangle $(p 0.93),0 $(p 0.94),$h" \
    \( -size "1x$h" xc:gray -fx 'yy = (j + 0.5) / h * 2 - 1; 0.3 + 0.7 * sqrt(max(0, 1 - yy*yy)) * (1 - 0.35 * yy)' -scale "${l}x$h!" \) \
    -compose Multiply -composite \
    \( -size "1x$h" xc:black -fx 'yy = (j + 0.5) / h; 0.8 * exp(-pow((yy - 0.3) / 0.08, 2))' -scale "${l}x$h!" \) \
    -compose Screen -composite "$out"
}

# A soft puff of smoke on CANVAS. Stdin lists its lobes, "x y radius" in final pixels. The lobes'
# blurred silhouette serves as a height field, so lighting it gives rounded billows.
smoke() {
  local canvas=$1
  local size all="" x y r top=100000 bottom=0
  size=$(identify -format '%wx%h' "$canvas")
  while read -r x y r; do
    all="$all circle $((x * S)),$((y * S)) $((x * S)),$(((y - r) * S))"
    [ $(((y - r) * S)) -lt "$top" ] && top=$(((y - r) * S))
    [ $(((y + r) * S)) -gt "$bottom" ] && bottom=$(((y + r) * S))
  done
  convert -size "$size" xc:black -fill white -draw "$all" "$work/smoke_mask.miff"
  convert "$canvas" \
    \( -size "$size" xc:white -fill '#707070' -draw "translate $S,$((2 * S)) $all" -blur "0x$((2 * S))" \) \
    -compose Multiply -composite \
    \( "$work/smoke_mask.miff" -blur "0x$((5 * S / 2))" -shade 120x35 -auto-level +level 55%,100% \
       \( -size "$size" -define gradient:vector=0,"$top",0,"$bottom" gradient:'#ffffff-#bfc4c1' \) \
       -compose Multiply -composite \
       \( "$work/smoke_mask.miff" -blur "0x$((S / 2))" \) -alpha off -compose CopyOpacity -composite \) \
    -compose Over -composite "$canvas"
}

# Heading text in white with a soft dark shadow, placed by gravity west.
heading() {
  local canvas=$1 text=$2 size=$3 x=$4 y=$5
  local geometry
  geometry=$(identify -format '%wx%h' "$canvas")
  convert "$canvas" \
    \( -size "$geometry" xc:white -font "$font_text" -pointsize "$size" -gravity west \
       -fill '#2a2a2a' -annotate "+$((x + S))+$((y + S))" "$text" -blur "0x$S" \) \
    -compose Multiply -composite \
    -font "$font_text" -pointsize "$size" -gravity west -fill white -annotate "+$x+$y" "$text" "$canvas"
}

draw_error_banner() {
  local W=$((470 * S)) H=$((47 * S))
  local canvas=$work/error_banner.miff
  convert -size "${W}x$H" -define gradient:vector=0,0,0,"$H" gradient:'#1f9a32-#006f00' "$canvas"
  convert "$canvas" -fill '#4cc15a' -draw "rectangle 0,0 $W,$((S - 1))" -fill '#004f00' -draw "rectangle 0,$((H - S)) $W,$H" "$canvas"
  smoke "$canvas" <<'PUFF'
20 15 6
32 13 7
12 26 8
40 24 7
25 23 10
17 35 7
31 35 8
43 35 5
47 11 3
52 6 2
PUFF
  heading "$canvas" 'Oops! Something went wrong ...' $((19 * S)) $((60 * S)) $S
  convert "$canvas" -filter Lanczos -resize "470x47!" "$work/error_banner_small.miff"
  save_jpeg "$work/error_banner_small.miff" "$pictures/error_banner.jpg" 90
}

# A chemist whose experiment has just gone up in smoke, in final-pixel coordinates (scaled by S).
# Outlined flat shapes, back to front: arms and legs behind the coat, then the head, then the
# hands, the tube in the raised hand over the coat.
chemist_mvg() {
  cat <<MVG
scale $S,$S
stroke '#15301a' stroke-width 2 stroke-linejoin round stroke-linecap round
fill '#3c4c70' rectangle 47,184 60,224 rectangle 68,184 81,224
fill '#262626' ellipse 51,227 11,5 0,360 ellipse 80,227 11,5 0,360
stroke '#15301a' stroke-width 16 fill none path 'M 44,108 L 22,96 L 33,66' path 'M 85,108 L 106,128 L 114,84'
stroke '#f4f7f4' stroke-width 12 path 'M 44,108 L 22,96 L 33,66' path 'M 85,108 L 106,128 L 114,84'
stroke '#15301a' stroke-width 2
fill '#f4f7f4' path 'M 40,104 Q 64,92 88,104 L 95,188 Q 64,195 33,188 Z'
fill '#79aee6' polygon 55,96 73,96 64,121
fill '#d8382e' polygon 61,101 67,101 68,116 64,121 60,116
fill none path 'M 55,96 L 64,121 L 60,190' path 'M 73,96 L 64,121'
fill '#f4f7f4' path 'M 55,96 L 64,121 L 50,112 Z' path 'M 73,96 L 64,121 L 78,112 Z'
fill '#f4f7f4' rectangle 72,140 86,156
fill '#2b6fd1' stroke-width 1.5 line 76,140 76,134 line 81,140 81,136
stroke-width 2
fill '#15301a' stroke none circle 60,140 60,138.6 circle 60,160 60,158.6 circle 60,178 60,176.6
stroke '#15301a' stroke-width 2
fill '#f3c49a' rectangle 58,86 70,98
fill '#f3c49a' circle 37,68 37,62 circle 91,68 91,62
fill '#f6cda5' circle 64,64 64,37
fill '#5a371c' polygon 38,62 34,45 42,46 42,32 52,39 57,26 65,37 73,26 78,38 88,31 88,45 95,47 91,62 86,53 78,49 70,53 62,48 54,53 46,49 42,57
stroke none fill 'rgba(230,110,110,0.45)' ellipse 47,78 6,4 0,360 ellipse 82,78 6,4 0,360
fill 'rgba(60,60,60,0.35)' ellipse 84,58 5,3 0,360 ellipse 45,86 4,2.5 0,360
stroke '#15301a' stroke-width 1.6
fill white ellipse 54,67 6.5,7.5 0,360 ellipse 75,67 6.5,7.5 0,360
stroke none fill '#15301a' circle 56,65 56,61.5 circle 77,65 77,61.5
fill white circle 57,63.6 57,62.4 circle 78,63.6 78,62.4
stroke '#15301a' stroke-width 2 fill none path 'M 47,55 Q 54,50 60,55' path 'M 69,55 Q 76,50 82,55'
path 'M 57,82 Q 62,86 66,82 Q 70,79 74,83'
MVG
}

# The test tube, standing in its own frame with its mouth at the origin, to be rotated into the hand.
test_tube_mvg() {
  cat <<MVG
stroke none fill 'rgba(235,250,255,0.5)' path 'M -5.5,2 L -5.5,40 A 5.5,5.5 0 0 0 5.5,40 L 5.5,2 Z'
fill '#7cf25c' path 'M -5.5,17 L 5.5,17 L 5.5,40 A 5.5,5.5 0 0 1 -5.5,40 Z'
fill '#4cc63a' path 'M 1.5,17 L 5.5,17 L 5.5,40 A 5.5,5.5 0 0 1 1.5,45 Z'
fill 'rgba(255,255,255,0.7)' circle -1.5,26 -1.5,24.8 circle 2,32 2,31 circle -2,37 -2,36.2 circle 1.5,22 1.5,21.3
fill '#b8ff9e' ellipse 0,17 5.5,1.6 0,360
fill none stroke '#15301a' stroke-width 2 path 'M -5.5,2 L -5.5,40 A 5.5,5.5 0 0 0 5.5,40 L 5.5,2'
fill 'rgba(235,250,255,0.8)' ellipse 0,1.5 7.5,2.5 0,360
stroke 'rgba(255,255,255,0.85)' stroke-width 1.6 line -3,5 -3,38
MVG
}

draw_error_side() {
  local W=$((144 * S)) H=$((247 * S))
  local canvas=$work/error_side.miff figure=$work/chemist.miff
  convert -size "${W}x$H" -define gradient:center=$((70 * S)),$((130 * S)) -define gradient:radii=$((68 * S)),$((112 * S)) \
    radial-gradient:'#129612-#008000' "$canvas"
  convert "$canvas" \( -size "${W}x$H" xc:white -fill '#5a7a5a' -draw "ellipse $((66 * S)),$((229 * S)) $((44 * S)),$((6 * S)) 0,360" \
    -blur "0x$((3 * S))" \) -compose Multiply -composite "$canvas"

  convert -size "${W}x$H" xc:none -draw "$(chemist_mvg)" \
    -draw "translate $((118 * S)),$((64 * S)) rotate 14 scale $S,$S $(test_tube_mvg)" \
    -draw "scale $S,$S stroke '#15301a' stroke-width 2 fill '#f3c49a' circle 114,82 114,75.5 circle 33,64 33,57.5" \
    "$figure"
  # Light from the top left: the figure darkens towards its lower right and shades the wall.
  convert "$figure" \( -size "${W}x$H" -define gradient:vector=$((30 * S)),$((40 * S)),$((110 * S)),$((220 * S)) gradient:white-'#c2ccc2' \) \
    -compose Multiply -composite \( "$figure" -alpha extract \) -alpha off -compose CopyOpacity -composite "$figure"
  convert "$canvas" \( "$figure" -alpha extract -blur "0x$((2 * S))" -negate +level 55%,100% -distort SRT "0,0 1 0 $((3 * S)),$((3 * S))" \) \
    -compose Multiply -composite "$figure" -compose Over -composite "$canvas"

  smoke "$canvas" <<'PUFF'
118 59 4
113 52 5
121 47 6
113 39 7
124 33 7
115 24 8
126 16 7
116 9 6
PUFF
  convert "$canvas" -filter Lanczos -resize "144x247!" "$work/error_side_small.miff"
  save_jpeg "$work/error_side_small.miff" "$pictures/error_side.jpg" 90
}

# A red ball on a felt tile with a wooden rim, drawn once large and shrunk to each size: the sizes the
# title bar, taskbar and a folder view show it at (a 256 pixel frame alone would weigh more than the rest
# of the installer's own code). The PNGs go without their date chunks so that the icon file does not
# change from one run to the next.
draw_icon() {
  local n=512
  local tile=$work/icon_tile.miff
  convert -size "${n}x$n" xc:none \
    \( -size "${n}x$n" -define gradient:vector=0,0,0,$n gradient:'#a8602c-#4a220b' \
       \( -size "${n}x$n" xc:black -fill white -draw "roundrectangle 8,8 503,503 96,96" \) -alpha off -compose CopyOpacity -composite \) \
    -compose Over -composite \
    \( -size "${n}x$n" -define gradient:center=200,190 -define gradient:radii=380,380 radial-gradient:'#42c46a-#0b6129' \
       \( -size "${n}x$n" xc:black -fill white -draw "roundrectangle 40,40 471,471 64,64" \) -alpha off -compose CopyOpacity -composite \) \
    -compose Over -composite "$tile"
  convert "$tile" \( -size "${n}x$n" xc:white -fill '#555555' -draw "ellipse 268,276 170,164 0,360" -blur 0x16 \
    \( "$tile" -alpha extract \) -alpha off -compose CopyOpacity -composite \) -compose Multiply -composite \
    \( "$tile" -alpha extract \) -alpha off -compose CopyOpacity -composite "$tile"
  ball "$work/icon_ball.miff" 368 '#d0211c' solid 0.1 0.06 K
  convert "$tile" "$work/icon_ball.miff" -geometry +64+60 -compose Over -composite "$work/icon_big.miff"
  local size images=()
  for size in 48 32 16; do
    convert "$work/icon_big.miff" -filter Lanczos -resize "${size}x$size" -define png:exclude-chunks=date,time \
      "PNG32:$work/icon_$size.png"
    images+=("$work/icon_$size.png")
  done
  convert "${images[@]}" "ICO:$icons/kestrowin.ico"
}

draw_banner
draw_error_banner
draw_error_side
draw_icon
