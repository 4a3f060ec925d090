#pragma once
// The register map of the Modbus TCP server and the answer to each request: holding register 0 is the
// keys-locked object. Function 03 reads it; 06 and 16 write it. Every request the server frames is
// answered here, at once, and nothing else builds an answer.
#include <cstdint>

namespace remote {

// Holding registers 0 .. kModbusHoldingCount - 1 are served.
inline constexpr int kModbusHoldingCount = 1;

// A TCP request: the 7-byte MBAP header (transaction id, protocol id, length, unit id), then the PDU;
// the length counts the unit id and the PDU, so it lies in 2 (a function code alone) .. 254.
inline constexpr int kMbapSize = 7;
inline constexpr int kMaxAdu = 260;

// How much of a client's stream the request at its start takes, from the `have` bytes received so far:
// the request's whole length once its header is in, 0 while the header is not, -1 when the header is
// not Modbus TCP (protocol id not 0, length outside 2..254): nothing more of that stream can be framed.
int ModbusFrameLength(const uint8_t* stream, int have);

// The answer to a whole request frame (adu, length bytes as ModbusFrameLength framed them), written to
// answer (room for kMaxAdu bytes) under the request's own header: its length, or -1 when the request
// gets no answer and its client is closed (a frame whose length is not its function's). The answer is
// the function's reply, or the function code with bit 7 set and an exception code:
//  01 a function not served (all but 01-06, 15 and 16; mask write and read/write of holding registers
//     among them, since they would change a register past its object),
//  02 an address outside the map (every coil and input: there are none),
//  03 a count outside what the function allows, a coil value other than 0000/FF00, or a value the
//     object refuses,
//  04 an object that failed a read,
//  06 a holding-register request while Modbus is disabled (running word 7 not 1).
// A write that an object takes is handed to the menu/control side as a type-12 message, which is taken
// back at once.
int ModbusAnswer(const uint8_t* adu, int length, uint8_t* answer);

}  // namespace remote
