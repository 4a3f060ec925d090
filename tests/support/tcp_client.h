#pragma once
// A TCP client for black-box tests of the instrument's sockets (SCPI 5025, LAN restart 5030).
#include <string>
#include <string_view>

namespace testsupport {

class TcpClient {
  public:
    // Connects to 127.0.0.1:port, retrying until timeoutMs has passed (the program may still be
    // starting). Connected() tells whether it succeeded.
    explicit TcpClient(int port, int timeoutMs = 5000);
    // A client that reads little: a receive buffer of about receiveBytes from the start, and a send that
    // finds no room gives up (false) after sendTimeoutMs.
    TcpClient(int port, int receiveBytes, int sendTimeoutMs);
    // Connects once from fromAddress (a loopback address) and fromPort (0: any), as a second host would,
    // to toAddress (another loopback address: another address of the same host). Two clients may share
    // one address and port when they connect to different addresses.
    TcpClient(int port, const char* fromAddress, int fromPort, const char* toAddress = "127.0.0.1");
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    bool Connected() const { return fd_ >= 0; }
    // The connection's own port, 0 when not connected.
    int LocalPort() const;
    bool Send(std::string_view bytes);
    // The next line with its line feed; what arrived so far (possibly "") when the time passes or the
    // peer closes first.
    std::string ReadLine(int timeoutMs = 3000);
    // The next count bytes (a binary block may hold line feeds); fewer when the time passes or the peer
    // closes first.
    std::string ReadBytes(size_t count, int timeoutMs = 3000);
    // Everything that arrives within ms milliseconds.
    std::string ReadFor(int ms);
    // True when the peer closes the connection within timeoutMs (data that arrives is dropped).
    bool WaitClosed(int timeoutMs = 3000);
    // Closes at once with a reset, dropping whatever is unsent or unread.
    void Abort();
    void Close();

  private:
    void Connect(int port, int timeoutMs, int receiveBytes);

    // Waits up to timeoutMs for bytes and appends them: 1 when some came, 0 when the peer closed (or
    // the connection broke), -1 when the time passed.
    int Fill(int timeoutMs);

    int fd_ = -1;
    std::string pending_;  // received beyond the last line handed out
};

// A listener on every address at port with SO_REUSEADDR (and SO_REUSEPORT when sharePort, as a program
// that means to share the port sets it), or -1.
int Listener(int port, bool sharePort = false);

}  // namespace testsupport
