#pragma once
// One remote object access, as web, Modbus, CANopen and DeviceNet hand it to the object dictionary.
#include <cstdint>

enum ObjAccess : uint8_t { kObjRead = 1, kObjWrite = 2 };
// How the transport addresses the object: 0 web, CANopen or DeviceNet; 1 Modbus; 2 phase by sub-index.
enum ObjBusMode : uint8_t { kObjBusPlain = 0, kObjBusModbus = 1, kObjBusPhase = 2 };

// The status a handler leaves in the request; each transport turns it into its own error form.
enum ObjStatus : int32_t {
    kObjStatusDone = 0,
    kObjStatusNoObject = 2,  // no object under that index
    kObjStatusRefused = 15,  // the value written is not one the object takes
};

struct ObjRequest {
    uint16_t index;  // object index
    uint8_t subIndex;
    uint8_t access;   // ObjAccess
    int32_t status;   // ObjStatus, set by the handler
    uint16_t length;  // data length in bytes
    uint8_t busMode;  // ObjBusMode
    uint8_t modbusFunction;
    uint16_t regCount;  // Modbus register count
};

// A handler reads the object into *value or writes *value to it, and returns the status it left in
// the request.
using ObjHandler = int32_t (*)(ObjRequest* req, uint32_t* value);
