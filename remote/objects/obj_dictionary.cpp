#include "remote/objects/obj_dictionary.h"

#include "remote/objects/obj_key_lock.h"

namespace {

struct ObjRow {
    uint16_t index;
    ObjHandler handler;
};

constexpr ObjRow kObjects[] = {
    {kObjKeyLock, ObjKeyLockHandler},
};

}  // namespace

int32_t ObjDictionaryAccess(ObjRequest* req, uint32_t* value) {
    for (const ObjRow& row : kObjects)
        if (row.index == req->index) return row.handler(req, value);
    req->status = kObjStatusNoObject;
    return req->status;
}
