#!/usr/bin/env bash
# Runs the controller for a few seconds under strace and lists every file it touched outside its
# instrument root. Allowed outside are only reads the C and C++ run-time make on their own: the program
# and its shared libraries, the loader's cache, the time zone (the command log's time stamps), the
# processor count (/sys/devices/system/cpu/online, read by the C library for civetweb), the folders above
# the root, which are looked at while the root's path is resolved, and - in a build with
# sanitizers - the process's own /proc/self files and the program's folder. The stand-ins of the serial
# and USB device nodes are pseudo-terminals the program makes for itself (/dev/ptmx, /dev/pts/N): those
# it may open for reading and writing.
#   usage: scripts/check-host-paths.sh [path/to/vrn-controller] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
prog=${1:-build/app/vrn-controller}
secs=${2:-20}  # past the start-up self-test (about 15 s), so that the threads run too
command -v strace >/dev/null || { echo "strace is not installed (apt-get install strace)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
log="$work/strace.log"
timeout -s TERM "$secs" strace -f -qq -s 4096 -e trace=%file -o "$log" "$prog" --root "$root" >/dev/null 2>&1 || true
prog_abs=$(readlink -f "$prog")

allowed="$work/allowed"
ptys='^/dev/\(ptmx\|pts/[0-9]*\)$'
{
  echo "$prog_abs"
  echo "$(dirname "$prog_abs")/"
  echo /etc/ld.so.cache
  echo /etc/ld.so.preload
  echo /etc/localtime
  echo /sys/devices/system/cpu/online
  d="$root"
  while [ "$d" != "/" ]; do d=$(dirname "$d"); echo "$d"; done
} | sort -u > "$allowed"

# execve carries the program's arguments and getcwd only reports the working folder; every other
# call names a file it touches.
calls=$(grep -v -e 'execve(' -e 'getcwd(' "$log" || true)
outside=$(echo "$calls" | grep -oE '"/[^"]*"' | tr -d '"' | sort -u |
  grep -v -e "^$root\(/\|$\)" -e '^/lib/' -e '^/lib64/' -e '^/usr/lib/' -e '^/proc/self/' -e "$ptys" |
  comm -23 - "$allowed" || true)
# A relative path would lie wherever the program was started, outside the root as well.
relative=$(echo "$calls" | grep -oE 'AT_FDCWD, "[^/"][^"]*"' | sort -u || true)
outside=$(printf '%s\n%s' "$outside" "$relative" | sed '/^$/d')
# Writes outside the root are never allowed, not even to the places above; only the process's own
# thread names (pthread_setname_np writes /proc/self/task/<tid>/comm).
writes=$(echo "$calls" | grep -E 'O_WRONLY|O_RDWR|O_CREAT|mkdir|unlink|rename|rmdir|symlink|chmod|truncate' |
  grep -oE '"/[^"]*"' | tr -d '"' | grep -v -e "^$root\(/\|$\)" -e '^/proc/self/task/[0-9]*/comm$' -e "$ptys" |
  sort -u || true)
outside=$(printf '%s\n%s' "$outside" "$writes" | sed '/^$/d' | sort -u)
if [ -n "$outside" ]; then
  echo "host paths touched outside the instrument root:"
  echo "$outside"
  exit 1
fi
echo "no host path outside the instrument root ($(grep -c . "$log") file calls traced)"
