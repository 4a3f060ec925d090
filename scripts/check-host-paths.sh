#!/usr/bin/env bash
# Runs the controller for a few seconds under strace and lists every file it opened, created or
# removed outside its instrument root. Only the program itself and the run-time loader's libraries
# may be read from outside; anything else is reported and the script fails.
#   usage: scripts/check-host-paths.sh [path/to/vrn-controller] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
prog=${1:-build/app/vrn-controller}
secs=${2:-4}
command -v strace >/dev/null || { echo "strace is not installed (apt-get install strace)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
log="$work/strace.log"
timeout -s TERM "$secs" strace -f -qq -e trace=%file -o "$log" "$prog" --root "$root" >/dev/null 2>&1 || true
prog_abs=$(readlink -f "$prog")
# execve carries the program's arguments; every other call names the files it touches.
outside=$(grep -v 'execve(' "$log" | grep -oE '"/[^"]*"' | tr -d '"' | sort -u |
  grep -v -e "^$root\(/\|$\)" -e "^$prog_abs$" \
    -e '^/etc/ld\.so\.\(cache\|preload\)$' -e '^/lib/' -e '^/lib64/' -e '^/usr/lib/' || true)
# A relative path would lie wherever the program was started, outside the root as well.
relative=$(grep -v 'execve(' "$log" | grep -oE 'AT_FDCWD, "[^/"][^"]*"' | sort -u || true)
outside=$(printf '%s\n%s' "$outside" "$relative" | sed '/^$/d')
if [ -n "$outside" ]; then
  echo "host paths touched outside the instrument root:"
  echo "$outside"
  exit 1
fi
echo "no host path outside the instrument root ($(grep -c . "$log") file calls traced)"
