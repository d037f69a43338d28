#!/usr/bin/env bash
# Builds the Debian package from an already built tree and inspects it:
#   package-test.sh BUILD-DIR APP-ID APP-BUILT(0|1)
# Exits 77 (skipped) when the packaging tools are missing. The tree is not rebuilt: CPack only
# runs its install rules.
set -euo pipefail
build=$1 id=$2 app=$3
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  exit 1
fi
debs=("$out"/pictavo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "no single pictavo_*.deb in: $(ls "$out")"; exit 1; }
deb=${debs[0]}
failed=0
fail() { echo "FAIL: $*"; failed=1; }

[ "$(dpkg-deb -f "$deb" Package)" = pictavo ] || fail "Package is $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] ||
  fail "Architecture is $(dpkg-deb -f "$deb" Architecture)"

dpkg-deb -c "$deb" >"$out/files"
want=(./usr/bin/pictavo-cli ./usr/share/pictavo/styles/styles.xml
  ./usr/share/pictavo/guide/index.html ./usr/share/man/man1/pictavo-cli.1.gz)
if [ "$app" = 1 ]; then
  want+=(./usr/bin/pictavo "./usr/share/applications/$id.desktop"
    "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/icons/hicolor/scalable/apps/$id.svg"
    "./usr/share/icons/hicolor/48x48/apps/$id.png" ./usr/share/man/man1/pictavo.1.gz)
fi
for file in "${want[@]}"; do
  grep -q " $file\$" "$out/files" || fail "missing $file"
done
# Everything lies under /usr, owned by root; the programs are executable by everyone.
awk '$6 !~ /^\.\/usr(\/|$)/ && $6 != "./" { print "outside /usr: " $6; bad = 1 } END { exit bad }' \
  "$out/files" || failed=1
awk '$2 != "root/root" { print "not root-owned: " $6; bad = 1 } END { exit bad }' "$out/files" ||
  failed=1
grep -E " \./usr/bin/pictavo-cli$" "$out/files" | grep -q '^-rwxr-xr-x' ||
  fail "pictavo-cli is not mode 0755"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Derived from the binaries by dpkg-shlibdeps: the C library and the image libraries.
for pattern in 'libc6 \(>=' 'libvips[0-9]+' 'libexiv2-[0-9]+' 'xdg-utils'; do
  grep -Eq "(^|, )$pattern" <<<"$depends" || fail "Depends lacks $pattern"
done
if [ "$app" = 1 ]; then
  # The SVG plugins draw the icons but are not linked, so shlibdeps cannot find them.
  for name in libqt6widgets6 libqt6svg6; do
    grep -Eq "(^|, )$name" <<<"$depends" || fail "Depends lacks $name"
  done
fi
grep -Eq '(^|, )[^ ,]+-dev( |,|$)' <<<"$depends" && fail "Depends names a -dev package"
echo "Size: $(stat -c %s "$deb") bytes, Installed-Size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
exit "$failed"
