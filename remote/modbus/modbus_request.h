#pragma once
// The register map of the Modbus TCP server: holding register 0 is the keys-locked object. Function 03
// reads it; 06 and 16 write it. A request that libmodbus has received whole is decided here, and the
// server answers it with the decision.
#include <cstdint>

namespace remote {

// Holding registers 0 .. kModbusHoldingCount - 1 are served; the server's register table has that size.
inline constexpr int kModbusHoldingCount = 1;

// A TCP request: the 7-byte MBAP header (transaction id, protocol id, length, unit id), then the PDU;
// the length counts the unit id and the PDU, so it lies in 2 (a function code alone) .. 254.
inline constexpr int kMbapSize = 7;
inline constexpr int kMaxAdu = 260;

// How much of a client's stream the request at its start takes, from the `have` bytes received so far:
// the request's whole length once its header is in, 0 while the header is not, -1 when the header is
// not Modbus TCP (protocol id not 0, length outside 2..254): nothing more of that stream can be framed.
int ModbusFrameLength(const uint8_t* stream, int have);

// What to answer to a request frame (adu, length bytes, of which headerLength precede the function
// code):
//  0  answer from the library's tables: for a read, registers[address ..] now hold the values read;
//     functions this map does not take (coils, inputs, unknown) are answered by the library from its
//     empty tables (exception 02, or 01 for a function it does not know);
//  >0 answer this exception code: 01 read/write and mask-write of holding registers, 02 an address
//     outside the map, 03 a bad count or a value the object refuses, 04 an object that failed a
//     read, 06 Modbus disabled (running word 7 not 1);
//  -1 no answer (a frame whose length is not its function's).
// A write that an object takes is handed to the menu/control side as a type-12 message, which is taken
// back at once.
int ModbusRequestDecide(const uint8_t* adu, int length, int headerLength, uint16_t* registers);

}  // namespace remote
