#pragma once
// The device-port object of a remote channel and its transmit queue. A program message's replies are
// staged as they are written, committed together with the terminating line feed, and transmitted in
// later passes of the channel loop as far as the descriptor takes them. Small replies are copied into
// a 1024-byte ring; large ones (file and memory data) are queued by reference.
#include <pthread.h>
#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint32_t kTxQueueEntries = 64;
constexpr uint32_t kTxRingSize = 1024;
constexpr uint32_t kPortPathSize = 64;

// Entry types: 0 and 2 bytes copied into the ring, 3 caller-owned data.
enum TxEntryType : uint32_t { kTxCopyEnd = 0, kTxCopy = 2, kTxByRef = 3 };

struct ScpiTxEntry {
    uint32_t type;
    const uint8_t* data;
    uint32_t length;
};

struct ScpiTxRing {
    int32_t used;
    uint32_t writePos;
    uint32_t readPos;
    uint8_t data[kTxRingSize];
};

struct ScpiTxQueue {
    int32_t sent;        // bytes of the head entry already transmitted
    uint32_t stageIdx;   // where the next staged entry goes
    int32_t staged;      // entries staged, not yet released
    int32_t committed;   // entries ready to transmit
    uint32_t commitEnd;  // index where the last commit ended
    uint32_t readIdx;    // head entry
    int32_t kept;        // staged entries a rollback keeps (those of the message's finished commands)
    uint32_t keptLength;  // the length of the last of them then: a later copy may have extended it
    ScpiTxEntry entries[kTxQueueEntries];
    ScpiTxRing ring;
};

struct RemotePort {
    int32_t fd;  // 0 when closed
    uint32_t isOpen;
    ScpiTxQueue txq;
    int32_t rxCount;  // activity counters, read and cleared by control 12 and 11
    int32_t txCount;
    termios saved;
    termios inUse;
    char path[kPortPathSize];  // the LAN port's path "Socket" makes it transmit with send()
    pthread_mutex_t mutex;
};

// Write modes of PortWrite and of every channel's write operation.
enum PortWriteMode : int32_t {
    kPortCopyEnd = 0,   // copy, closing a merged reply
    kPortTransmit = 1,  // send what is committed
    kPortCopy = 2,      // copy into the ring
    kPortByRef = 3,     // queue the caller's data without copying
    kPortCommit = 4,    // release the staged entries
    kPortDiscard = 5,   // drop the staged entries
    kPortMark = 6,      // what is staged now stays through a rollback
    kPortRollback = 7   // drop what was staged since the last mark (or commit, or discard)
};

// Control codes common to the ports.
enum PortControlCode : int32_t {
    kPortCtlConnected = 1,
    kPortCtlClearOutput = 2,
    kPortCtlCommitted = 3,
    kPortCtlReset = 4,
    kPortCtlReserved = 5,
    kPortCtlRearm = 6,
    kPortCtlSerialApply = 10,
    kPortCtlTxCount = 11,
    kPortCtlRxCount = 12,
    kPortCtlLinkState = 15,
    kPortCtlAnnounceLength = 18,
    kPortCtlPushStatus = 21
};

constexpr char kPortSocketPath[] = "Socket";

// Stages, commits, discards or transmits (mode above). Copy modes return the bytes queued or -1 when
// the ring or the entry table has no room (the queue is then unchanged); transmit returns the write
// result, -1 when nothing is committed.
int PortWrite(RemotePort* port, const void* data, uint32_t length, int32_t mode);

// Copies a 60-byte terminal-settings block into the port and applies it when the port is open.
int SerialApply(RemotePort* port, const void* settings);

namespace scpi {

// Plain init (GPIB, RS232, LAN) and terminal init (USB device ports: raw 9600 8N1). -1 when the mutex
// cannot be made.
int PortInit(RemotePort* port, const char* path);
int PortInitTerminal(RemotePort* port, const char* path);
void PortDeinit(RemotePort* port);

// Opens the device path (non-blocking, no controlling terminal) when not yet open, applies the stored
// terminal settings and clears the counters. Returns the open flag.
int PortOpen(RemotePort* port);
// Whether the port is open, read under its lock: another thread may be closing it.
int PortIsOpen(RemotePort* port);
// -1 when the port was not open.
int PortClose(RemotePort* port);

// Removes every committed entry and resets the queue.
int PortQueueClear(RemotePort* port);
int PortCommittedCount(RemotePort* port);
// For a port that sends by other means than a descriptor (the web server's websocket): appends every
// committed byte to *out and marks it sent. The bytes taken.
size_t PortTakeCommitted(RemotePort* port, std::string* out);
// The control codes every port shares (1 open, 2, 3, 4, 5, 10, 11, 12); -1 for other codes.
int PortControl(RemotePort* port, int32_t code, const void* arg);

}  // namespace scpi
