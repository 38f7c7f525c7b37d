#!/usr/bin/env bash
# Builds the Debian package from an existing build, unpacks it into a scratch
# root and checks it: the layout, the dependencies, lintian, the hardening of
# the three programs, the desktop entry
# and AppStream metadata, the manual pages, the worksheet file type and its
# default application, and the installed kbt2-driver computing with the
# installed rate file.
#
#   scripts/check-package.sh [BUILD_DIR]     default: build-test-normal
set -euo pipefail
cd "$(dirname "$0")/.."
source=$(pwd)
build=$(realpath "${1:-build-test-normal}")
[ -f "$build/CPackConfig.cmake" ] || { echo "no $build/CPackConfig.cmake: configure and build first" >&2; exit 2; }

out=$build/package
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/kbt2_*.deb)
echo "package: $deb"

fail() { echo "package check failed: $*" >&2; exit 1; }

root=$out/root
dpkg-deb -x "$deb" "$root"
for path in bin/kbt2 bin/kbt2-driver bin/kbt2-quote share/kbt2/Ratefile.prn \
            share/applications/org.kbt2.kbt2.desktop \
            share/icons/hicolor/scalable/apps/org.kbt2.kbt2.svg \
            share/metainfo/org.kbt2.kbt2.metainfo.xml \
            share/mime/packages/org.kbt2.kbt2.xml share/bash-completion/completions/kbt2-quote \
            share/doc/kbt2/copyright share/doc/kbt2/changelog.Debian.gz \
            share/man/man1/kbt2.1.gz share/man/man1/kbt2-driver.1.gz share/man/man1/kbt2-quote.1.gz; do
  [ -f "$root/usr/$path" ] || fail "usr/$path is missing"
done
for program in kbt2 kbt2-driver kbt2-quote; do
  [ -x "$root/usr/bin/$program" ] || fail "usr/bin/$program is not executable"
done

# The window needs the Qt 6 runtime of Debian 12 and its platform plugins.
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for dependency in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 qt6-qpa-plugins libstdc++6; do
  [[ ", $depends," == *", $dependency "* || ", $depends," == *", $dependency,"* ]] ||
    fail "Depends lacks $dependency"
done
# Every dependency can be met on this system (a Debian 12 with the Qt runtime).
apt-get install --simulate "$deb" >/dev/null || fail "its dependencies cannot be met"

# No errors, and nothing at all about the manual pages; other warnings and
# notes are shown and left to judgement.
lintian --fail-on error --display-info "$deb" >"$out/lintian.log" 2>&1 ||
  { cat "$out/lintian.log"; fail "lintian reports errors"; }
grep -v '^running with root privileges' "$out/lintian.log" || true
! grep -Eq 'usr/share/man/|manpage|manual-page' "$out/lintian.log" || fail "lintian reports on the manual pages"

# Built as the distribution builds: hardening-check (devscripts) finds every
# protection in each program. Control-flow protection is asked of the
# compiler where it offers it, but its test is left out (--nocfprotection):
# the linker marks a program protected only when every object in it is,
# the system's libraries' too.
for program in kbt2 kbt2-driver kbt2-quote; do
  hardening-check --nocfprotection "$root/usr/bin/$program" >"$out/hardening.$program.log" 2>&1 ||
    { cat "$out/hardening.$program.log"; fail "usr/bin/$program is not built with every hardening flag"; }
done

desktop-file-validate "$root/usr/share/applications/org.kbt2.kbt2.desktop" || fail "the desktop entry is invalid"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.kbt2.kbt2.metainfo.xml" >/dev/null ||
  fail "the AppStream metadata is invalid"

# The manual pages render without a warning from man or groff.
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page") renders with warnings: $warnings"
done

# Installed, the package's triggers rebuild the system's file type and
# desktop entry databases. Here the unpacked share/ stands in for the user's
# data folder and is rebuilt the same way; a .wsk file must then be a
# worksheet that opens in KBT2. Without a desktop session xdg-mime answers
# from these files alone.
xdg=$out/xdg
mkdir -p "$xdg/data" "$xdg/config" "$xdg/home"
cp -r "$root/usr/share/." "$xdg/data/"
in_desktop() {
  env -i PATH="$PATH" HOME="$xdg/home" XDG_DATA_HOME="$xdg/data" XDG_CONFIG_HOME="$xdg/config" \
    XDG_DATA_DIRS=/usr/share "$@"
}
in_desktop update-mime-database "$xdg/data/mime"
in_desktop update-desktop-database "$xdg/data/applications"
printf 'A Farmer\r\n' >"$xdg/home/farm.wsk"
filetype=$(in_desktop xdg-mime query filetype "$xdg/home/farm.wsk")
[ "$filetype" = application/x-kbt2-worksheet ] || fail "a .wsk file is $filetype, not application/x-kbt2-worksheet"
default=$(in_desktop xdg-mime query default application/x-kbt2-worksheet)
[ "$default" = org.kbt2.kbt2.desktop ] || fail "a worksheet opens with \"$default\", not org.kbt2.kbt2.desktop"

# The installed driver, without `places`, finds the installed rate file. It
# runs in a scratch home, so that nothing of this check reaches the user's.
scratch=$out/scratch
mkdir -p "$scratch" "$out/runtime"
chmod 700 "$out/runtime"
for mode in model window; do
  args=()
  [ "$mode" = window ] && args=(--window)
  (cd "$scratch" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$out/runtime \
     XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config \
     "$root/usr/bin/kbt2-driver" "${args[@]}" "$source/packaging/smoke.txt" >"$out/smoke.$mode.out") ||
    fail "kbt2-driver ($mode) failed"
  diff -u "$source/packaging/smoke.out" "$out/smoke.$mode.out" || fail "kbt2-driver ($mode) printed other results"
done
# The installed kbt2-quote, without --rates, finds the installed rate file too.
"$root/usr/bin/kbt2-quote" "$source/tests/scenarios/fixtures/sample.wsk" >"$out/quote.csv" ||
  fail "kbt2-quote failed on the sample worksheet"
grep -q ',ok,' "$out/quote.csv" || fail "kbt2-quote did not quote the sample worksheet"
echo "package: layout, dependencies, metadata and the installed driver and kbt2-quote are right"
