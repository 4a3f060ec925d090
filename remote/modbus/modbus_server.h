#pragma once
// The Modbus TCP server: libmodbus's frame handling on a listening socket of all addresses, several
// clients at once through select, each request answered in turn from the register map
// (remote/modbus/modbus_request.h). It serves only while running word 7 of g_ThreadCtl (Modbus enable)
// is 1; at 0 it closes its clients and its listener, and listens again once the word is 1.
#include <modbus/modbus.h>

#include <cstdint>
#include <vector>

namespace remote {

struct ModbusServer {
    int port = 0;                        // the listening port
    modbus_t* ctx = nullptr;             // frames of every client go through this one context
    modbus_mapping_t* tables = nullptr;  // the holding registers that answers are built from
    int listener = -1;                   // -1 while not listening
    std::vector<int> clients;            // connected client sockets, in accept order
    uint64_t nextListenMs = 0;           // a failed listen is tried again from then on
    bool listenFailReported = false;     // a failing listen is reported once until it succeeds
};

// Prepares a server for the port (nothing is opened yet). False when libmodbus cannot make its context.
bool ModbusServerInit(ModbusServer* s, int port);
// One pass: looks at the enable word; listens when it must (a failure is reported once on standard
// error and tried again every second); waits at most 100 ms in select for a connection or a request
// and serves what arrived. A client whose request is cut short, or that hangs up, is closed alone.
void ModbusServerPass(ModbusServer* s);
// Closes the clients and the listener and frees the context.
void ModbusServerFree(ModbusServer* s);

}  // namespace remote
