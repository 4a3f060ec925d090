#pragma once
// What a request must meet before civetweb acts on it. Requests that act on the instrument (a POST, as
// to "/webkey" and "/unlock", and a websocket handshake, as of "/scpi") are refused when they name an Origin that
// is not this server as the request names it (its Host): a page of another site cannot drive the panel
// through a browser, while a client that sends no Origin (curl, scripts) is served. A file is served only
// when its real path lies inside the web root: a symbolic link out of it is not followed.
#include <string_view>

namespace web {

// True when the request may go on: no Origin, or an http Origin naming the Host's name and port (letter
// case aside, port 80 when none is named). An Origin without a Host is refused.
bool WebOriginAllowed(const char* origin, const char* host);

// True when the URI (decoded, without dot segments) addresses nothing whose real path leaves the folder
// `root`: the path itself, its index.html and its precompressed ".gz" twin. A path that does not exist
// is inside (there is nothing to serve).
bool WebPathInsideRoot(const char* root, std::string_view uri);

}  // namespace web
