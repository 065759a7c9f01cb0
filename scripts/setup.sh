#!/usr/bin/env bash
# Installs what building, running and testing need, when it is missing (Debian 12, as root):
# the packages, the Japanese locale, and GoogleTest built once for the cross targets whose
# trees run tests (scripts/prebuilt_gtest.sh). The scripts that call it start their shell
# again afterwards (setup_first.sh), so that it sees a locale made here.
set -euo pipefail

need=()
pkgs=(cmake ninja-build g++ clang googletest libgtest-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      g++-i686-linux-gnu qemu-user-static
      wine64 xvfb x11-utils x11-apps netpbm xauth fonts-noto-cjk fonts-ipafont-gothic fonts-wine locales zip unzip
      faketime python3-icalendar python3-dateutil python3-ephem python3-erfa
      libxml2-dev radicale python3-caldav openssl tzdata)
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  if [ "$(id -u)" -ne 0 ]; then echo "setup: run as root to install packages" >&2; exit 1; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Code page 932 under Wine comes from a Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating ja_JP.UTF-8"
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# GoogleTest for the 32-bit host tree and the Windows tree, built once for the machine.
if [ "$(id -u)" -eq 0 ]; then
  bash "$(dirname "$0")/prebuilt_gtest.sh" build i686-linux-gnu x86_64-w64-mingw32 || true
fi
