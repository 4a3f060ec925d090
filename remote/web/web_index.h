#pragma once
// The web root /mnt/disk/httpd (web-page updates install there) and the page a first start writes when
// it holds no index.html: the screen refreshed each second, a command line for the websocket "/scpi" and
// a few panel keys.
namespace web {

constexpr char kWebRoot[] = "/mnt/disk/httpd";

// Writes our index.html into the web root when it has none (the folder is made when missing); a page
// that is there is kept. 0, or -1 when the page could not be written (the server serves what is there).
int WebIndexEnsure();

}  // namespace web
