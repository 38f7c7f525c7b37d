#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, and the
# German locale some window tests run under a second time (a comma for the
# decimal point); does nothing when they are all there. The last line of
# packages serves the package check: xdg-mime outside a desktop session learns
# file types through libfile-mimeinfo-perl; devscripts brings hardening-check.
# gettext (xgettext, msgmerge, msgfmt) keeps the translation catalogues
# (scripts/update-po.sh) and checks them in the build and the tests.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libssl-dev clang libclang-rt-14-dev xvfb xauth
          ccache clang-format clang-tidy file desktop-file-utils appstream poppler-utils
          lintian man-db shared-mime-info xdg-utils libfile-mimeinfo-perl locales
          devscripts gettext)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qx 'de_DE.utf8'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
