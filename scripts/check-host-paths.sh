#!/usr/bin/env bash
# Runs the controller under strace, drives its remote paths once it is up (a USB-stick screen copy, web
# requests - a page, a key, the lock release, the screen, a long path -, a websocket SCPI exchange and a
# Modbus read), stops it and lists every file it touched outside its instrument root. Allowed outside are only reads the C and C++ run-time make on their own: the program
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
secs=${2:-240}  # the longest the traced run may take: start-up (about 15 s, slower traced) and the drive
command -v strace >/dev/null || { echo "strace is not installed (apt-get install strace)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
log="$work/strace.log"
offset=$((20000 + 13 * (RANDOM % 700)))
timeout -s TERM "$secs" strace -f -qq -s 4096 -e trace=%file -o "$log" "$prog" --root "$root" \
  --port-offset "$offset" >"$work/out" 2>&1 &
traced=$!
/usr/bin/python3 - "$root" "$offset" "$work/out" <<'DRIVE' || { echo "the remote paths could not be driven"; cat "$work/out"; kill -TERM "$(awk 'NR == 1 {print $1}' "$log")" 2>/dev/null; wait "$traced"; exit 1; }
import os, socket, sys, time, urllib.request
root, offset, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]

def wait_for(what, test, seconds):
    end = time.monotonic() + seconds
    while not test():
        if time.monotonic() > end:
            sys.exit(f"timed out waiting for {what}")
        time.sleep(0.1)

def printed(text):
    return lambda: os.path.exists(out) and text in open(out, errors="replace").read()

wait_for("the web server", printed(f"Web: serving port {80 + offset}"), 120)
wait_for("the Modbus server", printed(f"ModbusThread: listening on port {502 + offset}"), 60)
wait_for("the panel", printed("GuiThread: system ready"), 60)
# The screen copy to a USB stick first: keys are refused once SCPI has put the panel in remote.
panel = os.path.join(root, "var/run/panel")
def tell(line):
    with open(panel, "w") as f:
        f.write(line + "\n")
tell("usb insert sda1")
wait_for("the stick", lambda: os.path.isdir(os.path.join(root, "mnt/sd1")), 30)
# The USB watch sees the stick on its own poll, which a loaded machine can delay: the key is pressed
# again until a copy is there, each press given its time to finish.
copy = os.path.join(root, "mnt/sd1/QXDIMC000.bmp")
end = time.monotonic() + 90
while not os.path.exists(copy):
    if time.monotonic() > end:
        sys.exit("timed out waiting for the screen copy")
    tell("hold L")
    press_end = time.monotonic() + 10
    while not os.path.exists(copy) and time.monotonic() < press_end:
        time.sleep(0.1)

web = f"http://127.0.0.1:{80 + offset}"
def http(path, method="GET"):
    try:
        return urllib.request.urlopen(urllib.request.Request(web + path, method=method), timeout=10).status
    except urllib.error.HTTPError as e:
        return e.code
for path, method in (("/", "GET"), ("/capture.jpg", "GET"), ("/favicon.ico", "GET"), ("/webkey?code=300", "POST"),
                     ("/unlock", "POST"), ("/" + "a" * 5000, "GET"), ("/missing/file.txt", "GET")):
    print(f"{method} {path[:40]}: {http(path, method)}")

import websocket
ws = websocket.create_connection(f"ws://127.0.0.1:{80 + offset}/scpi", timeout=10)
ws.send("*IDN?")
print("websocket *IDN?:", ws.recv().strip())
ws.close()

m = socket.create_connection(("127.0.0.1", 502 + offset), timeout=10)
m.sendall(bytes([0, 1, 0, 0, 0, 6, 1, 3, 0, 0, 0, 1]))
print("Modbus read of register 0:", m.recv(64).hex())
m.close()
DRIVE
# The program ends on its stop signal; its process is the first the trace names.
kill -TERM "$(awk 'NR == 1 {print $1}' "$log")"
wait "$traced" || true
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
