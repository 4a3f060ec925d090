#pragma once
// The keys-locked object: the front panel's key lock as a remote client reads and sets it.
#include "remote/objects/obj_request.h"

// Read: 1 while the panel's keys are locked, else 0. Write: 1 locks, 0 unlocks; any other value is
// refused (kObjStatusRefused) and changes nothing.
int32_t ObjKeyLockHandler(ObjRequest* req, uint32_t* value);
