#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, quietly; does nothing when all are there.
set -euo pipefail
# clang and its libFuzzer runtime (libclang-rt-dev) build the SCPI parser's fuzz target; pyvisa with
# its pure-Python backend is the SCPI client of the LAN socket's system test, pyserial its ASRL (RS232) transport.
# libkissfft-dev: the FFT of the harmonic analysis. libpng writes and reads the screen pictures.
# FreeType and the DejaVu fonts: the font generator (scripts/gen-fonts.sh) and its check.
# libmodbus: the Modbus TCP server; mbpoll and pymodbus are the clients of its system tests (pymodbus
# loads its client package only with serial-asyncio, which it merely recommends).
# civetweb serves the web server, libjpeg makes its screen picture; chromium, chromium-driver,
# python3-selenium and python3-websocket are the web server's system-test clients.
packages=(build-essential cmake googletest libgtest-dev libgmock-dev libbenchmark-dev python3 clang libclang-rt-dev
  python3-pyvisa python3-pyvisa-py python3-serial strace libkissfft-dev libpng-dev libfreetype-dev fonts-dejavu-core
  fonts-dejavu-extra pkg-config
  libmodbus-dev mbpoll python3-pymodbus python3-serial-asyncio
  libcivetweb-dev libjpeg-dev chromium chromium-driver python3-selenium python3-websocket)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
