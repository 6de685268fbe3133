#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR and checks what a desktop
# gets from it: every file in place, the desktop entry and the AppStream data
# valid, the file type known by its name and its first bytes, both manual
# pages readable, the shell completion well-formed, the installed programs
# running; then builds the Debian package and checks its dependencies.
# usage: tools/check-install.sh [BUILD_DIR]   (default: build, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

DESTDIR="$stage/root" cmake --install "$build_dir" --prefix /usr >/dev/null
usr=$stage/root/usr
app=org.example.VornEd
for f in bin/vorned bin/vorned-cli share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/mime/packages/$app.xml share/bash-completion/completions/vorned-cli \
         share/man/man1/vorned.1.gz share/man/man1/vorned-cli.1.gz share/icons/hicolor/scalable/apps/$app.svg \
         share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$app.png; do
  [ -f "$usr/$f" ] || fail "not installed: $f"
done

out=$(desktop-file-validate "$usr/share/applications/$app.desktop" 2>&1) || fail "desktop entry: $out"
[ -z "$out" ] || fail "desktop entry: $out"
appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" >/dev/null \
  || { appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml"; fail "AppStream data"; }

# A MIME database built from the installed definition alone.
mkdir -p "$stage/mime/packages"
cp "$usr/share/mime/packages/$app.xml" "$stage/mime/packages/"
update-mime-database "$stage/mime" >/dev/null 2>&1 || fail "MIME type definition not accepted"
grep -qx 'application/x-nes-rom' "$stage/mime/types" || fail "MIME type missing from the database"
grep -q ':application/x-nes-rom:\*\.nes$' "$stage/mime/globs2" || fail "*.nes not mapped to the type"
grep -q 'x-nes-rom' "$stage/mime/magic" || fail "no magic for the type"

for page in vorned vorned-cli; do
  warnings=$(MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null) \
    || fail "man -l $page.1.gz failed: $warnings"
  [ -z "$warnings" ] || fail "man -l $page.1.gz: $warnings"
done
bash -n "$usr/share/bash-completion/completions/vorned-cli" || fail "completion script"

[ "$("$usr/bin/vorned" --version)" = "VornEd 0.3" ] || fail "installed vorned --version"
"$usr/bin/vorned-cli" demo "$stage/demo.nes" >/dev/null || fail "installed vorned-cli demo"

cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$stage/deb" >"$stage/cpack.log" 2>&1 \
  || { cat "$stage/cpack.log"; fail "cpack -G DEB"; }
deb=$(ls "$stage"/deb/vorned_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 libc6; do
  [[ $depends == *"$lib"* ]] || fail "package does not depend on $lib: $depends"
done
contents=$(dpkg-deb --contents "$deb")
grep -q '\./usr/bin/vorned$' <<<"$contents" || fail "package without /usr/bin/vorned"
echo "install check passed: $(basename "$deb") depends on $depends"
