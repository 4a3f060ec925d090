#include "remote/objects/obj_key_lock.h"

#include <atomic>

#include "core/params/param_store.h"

int32_t ObjKeyLockHandler(ObjRequest* req, uint32_t* value) {
    if (req->access == kObjRead) {
        *value = (g_ParamFlags.load(std::memory_order_acquire) & core::kFlagKeysLocked) != 0 ? 1 : 0;
        req->status = kObjStatusDone;
        return req->status;
    }
    if (*value > 1) {
        req->status = kObjStatusRefused;
        return req->status;
    }
    // The menu/control thread changes other bits of the same word meanwhile: one atomic change of
    // this bit alone, never a read of the word and a store of it.
    if (*value == 1)
        g_ParamFlags.fetch_or(core::kFlagKeysLocked, std::memory_order_acq_rel);
    else
        g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked), std::memory_order_acq_rel);
    req->status = kObjStatusDone;
    return req->status;
}
