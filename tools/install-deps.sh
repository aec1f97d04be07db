#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
set -euo pipefail
# qttools5-dev(-tools): lupdate and lrelease for the translations; qttranslations5-l10n: Qt's own texts in
# German; dpkg-dev and file: the package's dependencies worked out by dpkg-shlibdeps; poppler-utils:
# pdftotext and pdfimages read the service report back in the tests, pdftoppm renders it for the README.
packages=(cmake ninja-build g++ qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools
    qttranslations5-l10n dpkg-dev file poppler-utils "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
