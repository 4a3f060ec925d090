#pragma once
// The object dictionary: one handler per 16-bit object index, shared by every remote transport.
#include <cstdint>

#include "remote/objects/obj_request.h"

// The objects this system serves.
enum ObjIndex : uint16_t {
    kObjKeyLock = 0x2000,  // front-panel keys locked (0/1)
};

// Runs the handler of req->index; an index without an object leaves kObjStatusNoObject. Returns the
// status left in the request.
int32_t ObjDictionaryAccess(ObjRequest* req, uint32_t* value);
