#!/usr/bin/env bash
# Draws the two section pictures of the main window, data/sezione1.jpg (round
# section) and data/sezione2.jpg (square section), with ImageMagick.
#
# Each shows the chimney's cross-section: the flue gas ("fumi") at the centre
# and the five layers from the inside out as concentric rings or squares, each
# named by a leader line. The window stretches the picture into a box of about
# 3:2, about half this size on a 1366 x 768 screen, so the text is large.
#
# Usage: scripts/make-sections.sh [output folder]   (default: data/)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/data}"

command -v convert >/dev/null || { echo "ImageMagick's convert is needed" >&2; exit 1; }

W=900 H=600   # picture size
CX=300 CY=335 # centre of the section

# The layers from the inside out: outer "radius" (half side for the square),
# fill colour, name. The flue is the innermost disc.
FLUE_R=82 FLUE_FILL='#9aa3ab'
LAYERS=(
    "124 #f6d55c isolante"
    "150 #b9dcf2 camera d aria"
    "180 #dcefdc asola tecnica"
    "200 #d9a98c schermo 1"
    "222 #8d99a6 schermo 2"
)
# Height of each layer's name, in pixels below the centre, in the same order
# as LAYERS: evenly spaced, the outermost layer named at the top.
OFFSETS=(190 95 0 -95 -190)
ELBOW=250    # where the leaders turn horizontal ("radius")
LABEL_X=600  # left edge of the names

INK='#37434f'
FONT=DejaVu-Sans
FONT_BOLD=DejaVu-Sans-Bold

# Drawing primitives for one section; $1 is "round" or "square".
primitives() {
    local shape=$1 i r fill name
    echo "stroke '$INK' stroke-width 2"
    for ((i = ${#LAYERS[@]} - 1; i >= 0; i--)); do
        read -r r fill name <<<"${LAYERS[i]}"
        echo "fill '$fill'"
        if [[ $shape == round ]]; then
            echo "circle $CX,$CY $((CX + r)),$CY"
        else
            echo "rectangle $((CX - r)),$((CY - r)) $((CX + r)),$((CY + r))"
        fi
    done
    echo "fill '$FLUE_FILL'"
    if [[ $shape == round ]]; then
        echo "circle $CX,$CY $((CX + FLUE_R)),$CY"
    else
        echo "rectangle $((CX - FLUE_R)),$((CY - FLUE_R)) $((CX + FLUE_R)),$((CY + FLUE_R))"
    fi

    # Leaders: a dot in the middle of the layer, a radial line out past the
    # section, then a horizontal line to the name. Rays at distinct angles
    # and horizontal runs outside the section never cross one another.
    local inner=$FLUE_R
    for ((i = 0; i < ${#LAYERS[@]}; i++)); do
        read -r r fill name <<<"${LAYERS[i]}"
        awk -v shape="$shape" -v cx=$CX -v cy=$CY -v d="${OFFSETS[i]}" \
            -v mid="$(((inner + r) / 2))" -v elbow=$ELBOW -v lx=$LABEL_X \
            -v ink="$INK" -v font=$FONT -v name="$name" 'BEGIN {
            # The ray from the centre through the point where the leader turns.
            t = atan2(d, shape == "round" ? sqrt(elbow * elbow - d * d) : elbow)
            c = cos(t); s = sin(t)
            # A square reaches "radius" rho along the ray where max(|x|, |y|) = rho.
            k = 1
            if (shape == "square") k = 1 / (((c < 0 ? -c : c) > (s < 0 ? -s : s)) ? (c < 0 ? -c : c) : (s < 0 ? -s : s))
            px = cx + mid * k * c; py = cy + mid * k * s
            ex = cx + elbow * k * c; ey = cy + elbow * k * s
            printf "stroke \047%s\047 stroke-width 2 fill none\n", ink
            printf "polyline %.1f,%.1f %.1f,%.1f %d,%.1f\n", px, py, ex, ey, lx - 10, ey
            printf "fill \047%s\047 circle %.1f,%.1f %.1f,%.1f\n", ink, px, py, px + 5, py
            printf "stroke none fill \047%s\047 font %s font-size 30\n", ink, font
            printf "text %d,%.1f \047%s\047\n", lx, ey + 10, name
        }'
        inner=$r
    done

    # The flue's name in the middle, the title at the top left.
    echo "stroke none fill white font $FONT_BOLD font-size 30"
    echo "text $((CX - 34)),$((CY + 10)) 'fumi'"
}

draw() {
    local shape=$1 title=$2 file=$3
    convert -size ${W}x${H} xc:'#fbfcfd' \
        -fill none -stroke '#d5dbe0' -strokewidth 2 -draw "rectangle 4,4 $((W - 5)),$((H - 5))" \
        -draw "$(primitives "$shape")" \
        -stroke none -fill "$INK" -font $FONT_BOLD -pointsize 34 -draw "text 28,56 '$title'" \
        -strip -quality 92 -interlace none "$file"
}

mkdir -p "$OUT"
draw round 'sezione circolare' "$OUT/sezione1.jpg"
draw square 'sezione quadrata' "$OUT/sezione2.jpg"
echo "written $OUT/sezione1.jpg and $OUT/sezione2.jpg"
