#!/usr/bin/env bash
# Installs every Debian 12 package the project builds, tests and runs with. Safe to run again:
# it asks apt only for what is missing.
set -euo pipefail

packages=(
  # compiler and build
  g++ cmake make pkg-config
  # the format check of the test command
  clang-format git
  # test frameworks
  libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev
  # window, OpenGL, GLU, GLEW (Mesa's drivers give the context under Xvfb)
  freeglut3-dev libglew-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0
  # maths, XML, images, the tweak-bar layer's GUI library
  libglm-dev libtinyxml2-dev libsoil-dev libimgui-dev libstb-dev
  # the X server the tests draw on; X11, XTest, XFixes and XDamage for the harness
  xvfb xauth libx11-dev libxtst-dev libxfixes-dev libxdamage-dev
  # dropping root in tests that need a file to be unwritable
  util-linux
  # the fuzzers (clang 14 with libFuzzer and the sanitizer runtimes) and the memcheck run
  clang-14 libclang-rt-14-dev valgrind
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are installed"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
