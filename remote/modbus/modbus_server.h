#pragma once
// The Modbus TCP server: a listening socket of all addresses, several clients at once through select.
// Each client's bytes gather in a buffer of its own, so a slow client never holds up another; a request
// that is in whole is answered at once by the register map (remote/modbus/modbus_request.h), which
// builds every answer, so no request waits on libmodbus's own time-outs; libmodbus opens the listener.
// It serves only while running word 7 of g_ThreadCtl (Modbus enable) is 1; at 0 it closes its clients
// and its listener, and listens again once the word is 1.
#include <modbus/modbus.h>

#include <cstdint>
#include <vector>

#include "remote/modbus/modbus_request.h"

namespace remote {

// One connected client and the request it is sending.
struct ModbusClient {
    int fd = -1;
    uint8_t request[kMaxAdu] = {};
    int have = 0;             // bytes of the request received
    uint64_t lastByteMs = 0;  // when its last byte came (or it connected, before its first)
};

struct ModbusServer {
    int port = 0;                       // the listening port
    modbus_t* ctx = nullptr;            // the listener's context
    int listener = -1;                  // -1 while not listening
    std::vector<ModbusClient> clients;  // in accept order
    uint64_t nextListenMs = 0;          // a failed listen is tried again from then on
    bool listenFailReported = false;    // a failing listen is reported once until it succeeds
    uint64_t stallMs = 100;             // a request whose next byte takes longer is cut short
};

// Prepares a server for the port (nothing is opened yet). False when libmodbus cannot make its context.
bool ModbusServerInit(ModbusServer* s, int port);
// One pass: looks at the enable word; listens when it must (a failure is reported once on standard
// error and tried again every second); waits at most 100 ms in select for a connection or bytes, takes
// what arrived and answers each request that is complete (one a client per pass), then accepts every
// waiting connection that has a place. A client is closed alone when it hangs up, its header is not
// Modbus TCP, its request is one the map does not answer, its request stalls over stallMs between bytes,
// or it does not take its answer within 100 ms. At most 32 clients are held: a newcomer beyond them takes
// the place of the client silent longest once that one has been silent 1 s, and waits in the listener's
// queue (200 deep) until then.
void ModbusServerPass(ModbusServer* s);
// Closes the clients and the listener and frees the context.
// Tests free the server they made through it.
void ModbusServerFree(ModbusServer* s);

}  // namespace remote
