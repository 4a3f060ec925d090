#include "remote/web/web_index.h"

#include <filesystem>
#include <string>

#include "platform/host/root.h"
#include "remote/web/web_icon.h"
#include "storage/raw_file.h"

namespace web {
namespace {

// Key codes of the buttons: 'O' ACV, 'P' frequency, 'L' MENU, 'T' exit, 'U' enter, 'S' SHIFT, 'X' OUTPUT,
// 213 the knob (a delta of one step either way).
constexpr char kIndexPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>VRN remote panel</title>
<style>body{font-family:sans-serif;background:#222;color:#eee}img{border:1px solid #888}
button{min-width:4em;margin:2px}#log{white-space:pre;background:#000;height:12em;overflow:auto;width:800px}</style>
</head><body>
<img id="screen" width="800" height="480" alt="screen" src="/capture.jpg">
<div id="keys">
<button data-code="79">O</button><button data-code="80">P</button><button data-code="76">MENU</button>
<button data-code="84">EXIT</button><button data-code="85">ENTER</button><button data-code="83">SHIFT</button>
<button data-code="88">OUTPUT</button><button data-code="213" data-delta="-1">&lt;</button>
<button data-code="213" data-delta="1">&gt;</button><button id="unlock">UNLOCK</button>
</div>
<div id="console" hidden>
<form id="cmdform"><input id="cmd" size="60" autocomplete="off"><button type="submit" id="send">Send</button></form>
<div id="log"></div>
</div>
<script>
const screen = document.getElementById('screen');
function refresh() {
  const next = new Image();
  next.onload = () => { screen.src = next.src; setTimeout(refresh, 1000); };
  next.onerror = () => setTimeout(refresh, 1000);
  next.src = '/capture.jpg?t=' + Date.now();
}
setTimeout(refresh, 1000);
document.querySelectorAll('#keys button[data-code]').forEach(b => b.onclick = () => {
  let q = 'code=' + b.dataset.code;
  if (b.dataset.delta) q += '&delta=' + b.dataset.delta;
  fetch('/webkey?' + q, {method: 'POST'});
});
document.getElementById('unlock').onclick = () => fetch('/unlock', {method: 'POST'});
const log = document.getElementById('log');
function show(text) { log.textContent += text + '\n'; log.scrollTop = log.scrollHeight; }
// The command line is shown only while the server of this page holds the websocket: a port without
// "/scpi", or a server whose one SCPI place is taken, shows none. A lost connection (the controller
// restarted, the place was handed over) is tried again every few seconds.
let ws = null;
function printable(bytes) {
  return Array.from(bytes, b => b >= 32 && b < 127 ? String.fromCharCode(b) : '\\x' + b.toString(16).padStart(2, '0')).join('');
}
// A reply that holds a block comes as binary: its length and first bytes are shown.
function shown(data) {
  if (typeof data === 'string') return data.replace(/\n$/, '');
  const bytes = new Uint8Array(data);
  return '(' + bytes.length + ' bytes) ' + printable(bytes.subarray(0, 16)) + (bytes.length > 16 ? '...' : '');
}
function connect() {
  ws = new WebSocket('ws://' + location.host + '/scpi');
  ws.binaryType = 'arraybuffer';
  ws.onopen = () => {
    document.getElementById('console').hidden = false;
    document.getElementById('cmdform').hidden = false;
  };
  ws.onmessage = e => show(shown(e.data));
  ws.onclose = () => {
    if (!document.getElementById('cmdform').hidden) show('(connection closed)');
    document.getElementById('cmdform').hidden = true;
    setTimeout(connect, 3000);
  };
}
connect();
document.getElementById('cmdform').onsubmit = e => {
  e.preventDefault();
  const cmd = document.getElementById('cmd');
  if (ws.readyState === WebSocket.OPEN && cmd.value) { show('> ' + cmd.value); ws.send(cmd.value); }
  cmd.value = '';
};
</script>
</body></html>
)";

// Writes the file into the web root when it is not there. 0, or -1 when it could not be written.
int EnsureFile(const std::string& folder, const char* name, const std::string& content) {
    const std::string path = folder + "/" + name;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return 0;
    std::filesystem::create_directories(folder, ec);
    return WriteFileReplacing(path, path + ".XXXXXX", content.data(), content.size()) == 0 ? 0 : -1;
}

}  // namespace

int WebIndexEnsure() {
    const std::string folder = plat::MapPath(kWebRoot);
    if (folder.empty()) return 0;
    const int page = EnsureFile(folder, "index.html", std::string(kIndexPage, sizeof kIndexPage - 1));
    const int icon = EnsureFile(folder, "favicon.ico", WebIconIco());
    return page == 0 && icon == 0 ? 0 : -1;
}

}  // namespace web
