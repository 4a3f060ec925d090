#pragma once
// What the firmware-update and service data jobs share: their checks, the parallel link's broadcast and
// leaving, a slave's replies to its master. Menu/control thread (or the parallel slave's thread when the
// master forwards a job); each blocks for the job's run time.
#include <cstdint>

namespace service_jobs {

// Output on: "Update Fail\nPlease Output Off" and true (the job stops).
bool RefusedWithOutputOn();
// USB memory mounted and its last access sound; else the popup (and a slave's reply 1 unconnected or 0
// access error when `slaveReplies`) and false.
bool UsbUsable(bool slaveReplies);
// A held popup still shown is closed.
void ClosePersistent();
void Sync();
// True on a slave unit of a running parallel system.
bool IsActiveSlave();
// A slave's result of a forwarded calibration job to its master (item 19); nothing on other units.
void SlaveReply(uint32_t value);
// A master of a running system tells its slaves which job follows (item 15-18) and waits 200 ms.
void MasterAnnounce(uint32_t item);
// Before the power stage is reprogrammed: a master leaves the link; a slave tells its master (item 25
// with `slaveValue`), drops off and waits for the link to go down. False when it stays up.
bool LeaveParallelLink(uint32_t slaveValue);

}  // namespace service_jobs
