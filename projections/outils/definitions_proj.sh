#!/usr/bin/env bash
# Prints the registry definition behind every line of the regional catalogues
# 1 to 8, from the table sources_regions.tsv beside this script, through
# PROJ's projinfo (package proj-bin):
#   E  the ellipsoid: a and the first eccentricity e as the catalogue writes
#      them (10 decimals);
#   D  the shift to WGS 84 in catalogue order: DeltaX DeltaY DeltaZ, then
#      RotX RotY RotZ (arc-seconds, position-vector convention: a
#      coordinate-frame transformation has its rotations negated) and Scale
#      (ppm) for a seven-parameter shift;
#   P, M  the PROJ string of the twin grid.
# Usage: definitions_proj.sh [region]
set -euo pipefail
ici=$(cd "$(dirname "$0")" && pwd)
table="$ici/sources_regions.tsv"
filtre=${1:-}
command -v projinfo >/dev/null || { echo "projinfo absent (paquet proj-bin)" >&2; exit 1; }

ellipsoide() {
  projinfo -k ellipsoid "$1" -o PROJJSON -q --single-line |
    awk '{
      a = ""; b = ""; rf = ""
      if (match($0, /"semi_major_axis":[-0-9.e+]+/)) a = substr($0, RSTART + 18, RLENGTH - 18)
      if (match($0, /"semi_minor_axis":[-0-9.e+]+/)) b = substr($0, RSTART + 18, RLENGTH - 18)
      if (match($0, /"inverse_flattening":[-0-9.e+]+/)) rf = substr($0, RSTART + 21, RLENGTH - 21)
      if (b != "") e2 = 1 - (b / a) ^ 2; else { f = 1 / rf; e2 = 2 * f - f * f }
      printf "%s %.10f", a, sqrt(e2)
    }'
}

decalage() {
  local pj
  pj=$(projinfo -k operation "$1" -o PROJ -q --single-line 2>/dev/null || true)
  if [[ "$pj" != *"+proj=helmert"* ]]; then echo "0 0 0 (pas de Helmert : $pj)"; return; fi
  echo "$pj" | tr ' ' '\n' | awk '
    /^\+x=/ {x = substr($0, 4)} /^\+y=/ {y = substr($0, 4)} /^\+z=/ {z = substr($0, 4)}
    /^\+rx=/ {rx = substr($0, 5)} /^\+ry=/ {ry = substr($0, 5)} /^\+rz=/ {rz = substr($0, 5)}
    /^\+s=/ {s = substr($0, 4)} /^\+convention=/ {c = substr($0, 13)}
    function oppose(v) { return v ~ /^-/ ? substr(v, 2) : (v == "0" ? v : "-" v) }
    END {
      if (rx == "" && ry == "" && rz == "" && s == "") { print x, y, z; exit }
      if (rx == "") rx = "0"; if (ry == "") ry = "0"; if (rz == "") rz = "0"; if (s == "") s = "0"
      if (c == "coordinate_frame") { rx = oppose(rx); ry = oppose(ry); rz = oppose(rz) }
      print x, y, z, rx, ry, rz, s
    }'
}

while IFS=$'\t' read -r region nature nom source note; do
  [[ -z "$region" || "$region" == \#* ]] && continue
  [[ -n "$filtre" && "$region" != "$filtre" ]] && continue
  case "$source" in
    -|seed) def="(pas de jumeau)" ;;
    *)
      case "$nature" in
        E) def=$(ellipsoide "$source") ;;
        D) def=$(decalage "$source") ;;
        *)
          # A method PROJ strings cannot express (such as the west-orientated
          # Lambert) is printed as its WKT projection parameters.
          if ! def=$(projinfo -o PROJ -q --single-line "$source" 2>/dev/null) || [[ -z "$def" ]]; then
            def=$(projinfo -o WKT1:GDAL -q --single-line "$source" | grep -o 'PROJECTION\[.*UNIT\["metre"' || true)
          fi ;;
      esac ;;
  esac
  printf '%s\t%s\t%s\t%s\t%s\n' "$region" "$nature" "$nom" "$source" "$def"
done < "$table"
