#pragma once
// The socket of a websocket client. civetweb hands out neither the descriptor nor the address the client
// reached, so the socket is looked up among the process's open descriptors by what the request tells: the
// peer's address and port and the server's port. A peer that reaches two of the instrument's addresses from one
// port has two such sockets, which nothing tells apart: the lookup fails then. A socket found is kept
// with both its ends, so that a send can tell whether the number still is that connection (a closed
// connection's number goes to the next socket the process opens: a SCPI or Modbus client's).
#include <netinet/in.h>

namespace web {

struct ClientSocket {
    int fd = -1;
    sockaddr_in local{};
    sockaddr_in peer{};
};

// The one socket whose peer is peerAddress (dotted IPv4) and peerPort and whose own port is localPort;
// false when there is none or more than one.
bool FindClientSocket(const char* peerAddress, int peerPort, int localPort, ClientSocket* found);

// True while the descriptor is still the connection that was found: both its ends are as they were.
bool IsSameConnection(const ClientSocket& socket);

}  // namespace web
