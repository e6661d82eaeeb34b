#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks, without installing it, that
# it holds what an installation needs (programs, menu entry, icons, man pages, guide) and
# nothing else, and that its Depends name the libraries and fonts the program needs.
# usage: check-package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(find "$work" -maxdepth 1 -name 'korval_*.deb' | head -n1)
[ -n "$deb" ] || fail "no korval_*.deb in $work"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korval ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture $(field Architecture)"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expected=(
  /usr/bin/korval /usr/bin/korval-device /usr/bin/korval-scenario
  /usr/share/applications/korval.desktop
  /usr/share/man/man1/korval.1.gz /usr/share/man/man1/korval-device.1.gz
  /usr/share/doc/korval/用户手册.md
  /usr/lib/systemd/system/korval-serve.service
)
for size in 16 22 24 32 48 64; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/korval.png")
done
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done
# Everything lives under /usr/bin and /usr/share, but for the service's unit: no headers,
# libraries or test programs.
units='^/usr/lib/(systemd/(system/)?)?$|^/usr/lib/systemd/system/korval-serve\.service$'
stray=$(grep -v -e '^/$' -e '^/usr/$' -e '^/usr/bin/' -e '^/usr/share/' <<<"$files" |
  grep -vE "$units" || true)
[ -z "$stray" ] || fail "files outside /usr/bin and /usr/share: $stray"
grep -vE "$units" <<<"$files" | grep -qE '/(include|lib)/|gtest|\.a$' &&
  fail "build files in the package"

depends=$(field Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc\\+\\+6 fonts-dejavu-core \
              'fonts-wqy-microhei \| fonts-noto-cjk'; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -qE 'dev|asan|ubsan|gtest|benchmark' <<<"$depends" && fail "Depends names build tools: $depends"
grep -q qt6-translations-l10n <<<"$(field Recommends)" || fail "Recommends lacks the translations"

# The menu entry starts the installed program and has a Chinese and an English name.
dpkg-deb -x "$deb" "$work/root"
desktop=$work/root/usr/share/applications/korval.desktop
grep -qx 'Exec=korval' "$desktop" || fail "the menu entry does not start korval"
grep -qx 'Icon=korval' "$desktop" || fail "the menu entry does not name the icon"
grep -q '^Name=' "$desktop" && grep -q '^Name\[zh_CN\]=' "$desktop" || fail "names missing"
[ -x "$work/root/usr/bin/korval" ] || fail "korval is not executable"
# The man pages name the package's version, and the program prints the same one.
for page in korval korval-device; do
  zcat "$work/root/usr/share/man/man1/$page.1.gz" | head -n1 | grep -qF "\"KORVAL $version\"" ||
    fail "the man page of $page does not name version $version"
done
[ "$("$build/app/korval" --version)" = "korval $version" ] || fail "korval --version is not $version"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
echo "package $(basename "$deb"): $(wc -l <<<"$files") entries; Depends: $depends"
