#!/usr/bin/env bash
# Builds the Debian package from an existing build, unpacks it into a scratch
# root and checks it: the layout, the dependencies, the desktop entry and
# AppStream metadata, and the installed kbt2-driver computing with the
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
for path in bin/kbt2 bin/kbt2-driver share/kbt2/Ratefile.prn \
            share/applications/org.kbt2.kbt2.desktop \
            share/icons/hicolor/scalable/apps/org.kbt2.kbt2.svg \
            share/metainfo/org.kbt2.kbt2.metainfo.xml; do
  [ -f "$root/usr/$path" ] || fail "usr/$path is missing"
done
for program in kbt2 kbt2-driver; do
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

desktop-file-validate "$root/usr/share/applications/org.kbt2.kbt2.desktop" || fail "the desktop entry is invalid"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.kbt2.kbt2.metainfo.xml" >/dev/null ||
  fail "the AppStream metadata is invalid"

# The installed driver, without `places`, finds the installed rate file.
scratch=$out/scratch
mkdir -p "$scratch" "$out/runtime"
chmod 700 "$out/runtime"
for mode in model window; do
  args=()
  [ "$mode" = window ] && args=(--window)
  (cd "$scratch" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$out/runtime \
     "$root/usr/bin/kbt2-driver" "${args[@]}" "$source/packaging/smoke.txt" >"$out/smoke.$mode.out") ||
    fail "kbt2-driver ($mode) failed"
  diff -u "$source/packaging/smoke.out" "$out/smoke.$mode.out" || fail "kbt2-driver ($mode) printed other results"
done
echo "package: layout, dependencies, metadata and the installed driver are right"
