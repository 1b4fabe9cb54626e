#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages. Does nothing when all
# of it is there already, so it is safe to run again.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev
  fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev file
  dosfstools
  libxdamage-dev
  dbus-daemon
  qt6-charts-dev libqt6opengl6-dev
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n xvfb xdotool
  lld
  systemd
  qtkeychain-qt6-dev radicale xandikos
  qt6-speech-dev qt6-speech-speechd-plugin qt6-declarative-dev
  speech-dispatcher speech-dispatcher-espeak-ng
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
