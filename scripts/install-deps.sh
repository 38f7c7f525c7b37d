#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need; does nothing
# when they are all there. The last line serves the package check: xdg-mime
# outside a desktop session learns file types through libfile-mimeinfo-perl;
# devscripts brings hardening-check.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang libclang-rt-14-dev xvfb xauth
          ccache clang-format clang-tidy file desktop-file-utils appstream poppler-utils
          lintian man-db shared-mime-info xdg-utils libfile-mimeinfo-perl devscripts)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
