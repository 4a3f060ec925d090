#include "remote/web/web_index.h"

#include <filesystem>
#include <string>

#include "platform/host/root.h"
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
<form id="cmdform"><input id="cmd" size="60" autocomplete="off"><button type="submit" id="send">Send</button></form>
<div id="log"></div>
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
const ws = new WebSocket('ws://' + location.host + '/scpi');
ws.onmessage = e => show(e.data.replace(/\n$/, ''));
ws.onclose = () => show('(connection closed)');
document.getElementById('cmdform').onsubmit = e => {
  e.preventDefault();
  const cmd = document.getElementById('cmd');
  if (ws.readyState === WebSocket.OPEN && cmd.value) { show('> ' + cmd.value); ws.send(cmd.value); }
  cmd.value = '';
};
</script>
</body></html>
)";

}  // namespace

int WebIndexEnsure() {
    const std::string folder = plat::MapPath(kWebRoot);
    const std::string page = folder + "/index.html";
    std::error_code ec;
    if (folder.empty() || std::filesystem::exists(page, ec)) return 0;
    std::filesystem::create_directories(folder, ec);
    return WriteFileReplacing(page, page + ".XXXXXX", kIndexPage, sizeof kIndexPage - 1) == 0 ? 0 : -1;
}

}  // namespace web
