#pragma once
// The web root /mnt/disk/httpd (web-page updates install there) and the page a first start writes when
// it holds no index.html: the screen refreshed each second, a command line for the websocket "/scpi"
// (shown once the websocket is open, so never on port 81) and a few panel keys; and our icon when it holds
// no favicon.ico.
namespace web {

constexpr char kWebRoot[] = "/mnt/disk/httpd";

// Writes our index.html and favicon.ico into the web root when it has none (the folder is made when
// missing); a file that is there is kept. 0, or -1 when one could not be written (the server serves what
// is there).
int WebIndexEnsure();

}  // namespace web
