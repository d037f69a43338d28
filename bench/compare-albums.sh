#!/usr/bin/env bash
# Compares two pictavo-cli builds on the album run of scripts/bench (thumbnail album with photo
# pages, PhotoSize 1: 1024, ThumbnailSize 0: 248) of N camera-sized JPEGs, alternating the two
# K times, and prints for each its best wall time, peak memory and the bytes it wrote (1x and
# 2x image files apart):
#   bench/compare-albums.sh OLD/pictavo-cli NEW/pictavo-cli [N] [K]
# Inputs are the larger shared JPEGs (copies), as scripts/bench makes them.
set -euo pipefail
old=$1 new=$2 n=${3:-100} k=${4:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
shared=$root/../shared/photos
work=${PICTAVO_BENCH_DIR:-$root/build/bench-work}
input=$work/compare-in-$n
if [ ! -f "$input/.complete" ]; then
  rm -rf "$input"
  mkdir -p "$input"
  sources=()
  for f in jpg/hdr/iphone_hdr_YES.jpg jpg/mobile/HMD_Nokia_8.3_5G.jpg jpg/hdr/iphone_hdr_NO.jpg \
           jpg/mobile/jolla.jpg; do
    [ -f "$shared/$f" ] && sources+=("$shared/$f")
  done
  [ ${#sources[@]} -gt 0 ] || { echo "no shared photos at $shared" >&2; exit 1; }
  for i in $(seq 0 $((n - 1))); do
    cp "${sources[$((i % ${#sources[@]}))]}" "$input/IMG_$((10000 + i)).jpg"
  done
  touch "$input/.complete"
fi
cat "$input"/*.jpg >/dev/null  # warm the cache
settings=$work/no-settings.ini
rm -f "$settings"

run() {  # run CLI OUT TIMEFILE
  rm -rf "$2"
  # Each run starts with an empty image cache: the first run of an album is what is compared.
  export XDG_CACHE_HOME=$work/compare-cache
  rm -rf "$XDG_CACHE_HOME"
  /usr/bin/time -f "%e %M %U %S" -o "$3" "$1" build -q --settings "$settings" --location "$2" \
    --name album --set 'Options\Output' ShowOutputSettings 0 \
    --set 'Options\OutputStyle' Style 0 --set 'Options\OutputThumbnail' ThumbnailImageLink 1 \
    --set 'Options\OutputThumbnail' ThumbnailSize 0 --set 'Options\OutputPhoto' PhotoSize 1 \
    "$input" >/dev/null
}

bytes() {  # bytes FOLDER [find conditions]: total size of the matching files
  local folder=$1
  shift
  find "$folder" -type f "$@" -printf '%s\n' | awk '{ s += $1 } END { printf "%d", s }'
}

declare -A best mem cpu
for rep in $(seq "$k"); do
  for side in old new; do
    cli=$old
    [ "$side" = new ] && cli=$new
    run "$cli" "$work/compare-$side" "$work/compare-$side.time"
    read -r s m u y <"$work/compare-$side.time"
    if [ -z "${best[$side]:-}" ] || awk -v a="$s" -v b="${best[$side]}" 'BEGIN { exit !(a < b) }'; then
      best[$side]=$s
      mem[$side]=$m
    fi
    c=$(awk -v u="$u" -v y="$y" 'BEGIN { print u + y }')
    if [ -z "${cpu[$side]:-}" ] || awk -v a="$c" -v b="${cpu[$side]}" 'BEGIN { exit !(a < b) }'; then
      cpu[$side]=$c
    fi
  done
done
for side in old new; do
  album=$work/compare-$side/album
  printf '%-3s N=%s best of %s: %6.2f s wall, %6.2f s cpu, %4d MB peak | album %s bytes: 1x photos %s, 1x thumbs %s, 2x %s (%s files)\n' \
    "$side" "$n" "$k" "${best[$side]}" "${cpu[$side]}" "$((mem[$side] / 1024))" "$(bytes "$album")" \
    "$(bytes "$album/photos" -not -path '*/2x/*')" "$(bytes "$album/thumbs" -not -path '*/2x/*')" \
    "$(bytes "$album" -path '*/2x/*')" "$(find "$album" -path '*/2x/*' -type f | wc -l)"
done
awk -v a="${best[new]}" -v b="${best[old]}" -v c="${cpu[new]}" -v d="${cpu[old]}" \
  'BEGIN { printf "new/old: wall %.2f, cpu %.2f\n", a / b, c / d }'
