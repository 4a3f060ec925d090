#include "remote/modbus/modbus_request.h"

#include <atomic>

#include "core/system/links/thread_ctl.h"
#include "core/system/messaging/msg_queue.h"
#include "remote/objects/obj_dictionary.h"

namespace remote {
namespace {

// The object behind each holding register, by address.
constexpr uint16_t kHoldingObjects[] = {
    kObjKeyLock,
};
static_assert(sizeof kHoldingObjects / sizeof kHoldingObjects[0] == kModbusHoldingCount);

enum Function : uint8_t {
    kReadHolding = 0x03,
    kWriteSingle = 0x06,
    kWriteMultiple = 0x10,
    kMaskWrite = 0x16,
    kReadWriteMultiple = 0x17,
};
enum Exception : int {
    kIllegalFunction = 1,
    kIllegalAddress = 2,
    kIllegalValue = 3,
    kDeviceFailure = 4,
    kDeviceBusy = 6,
};
constexpr int kNoAnswer = -1;
constexpr int kMaxRead = 125;   // registers one read may ask for
constexpr int kMaxWrite = 123;  // registers one write of function 16 may carry

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

bool InMap(uint32_t address, uint32_t count) {
    return address + count <= static_cast<uint32_t>(kModbusHoldingCount);
}

ObjRequest Request(uint16_t address, uint8_t access, uint8_t function, uint16_t count) {
    ObjRequest req{};
    req.index = kHoldingObjects[address];
    req.access = access;
    req.length = 2;
    req.busMode = kObjBusModbus;
    req.modbusFunction = function;
    req.regCount = count;
    return req;
}

// Writes one register's object; on success the value goes to the menu/control side as a type-12
// message that is taken back at once, so none stays in the queue.
int WriteRegister(uint16_t address, uint16_t value, uint8_t function, uint16_t count) {
    ObjRequest req = Request(address, kObjWrite, function, count);
    uint32_t v = value;
    if (ObjDictionaryAccess(&req, &v) != kObjStatusDone) return kIllegalValue;
    SysMsg msg{};
    msg.word0 = value;
    MsgQueueSend(&msg, kMsgModbusHolding);
    MsgQueueRecv(&msg, kMsgModbusHolding);
    return 0;
}

constexpr int kAddressCountPdu = 5;  // function, address, count (or value)

int ReadHolding(const uint8_t* pdu, int pduLength, uint16_t* registers) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t address = Word(pdu + 1), count = Word(pdu + 3);
    if (count < 1 || count > kMaxRead) return kIllegalValue;
    if (!InMap(address, count)) return kIllegalAddress;
    for (uint16_t r = address; r < address + count; ++r) {
        ObjRequest req = Request(r, kObjRead, kReadHolding, count);
        uint32_t v = 0;
        if (ObjDictionaryAccess(&req, &v) != kObjStatusDone) return kDeviceFailure;
        registers[r] = static_cast<uint16_t>(v);
    }
    return 0;
}

int WriteSingle(const uint8_t* pdu, int pduLength) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t address = Word(pdu + 1);
    if (!InMap(address, 1)) return kIllegalAddress;
    return WriteRegister(address, Word(pdu + 3), kWriteSingle, 1);
}

// Registers are written in address order; a refused value stops the write there.
int WriteMultiple(const uint8_t* pdu, int pduLength) {
    if (pduLength < 6) return kNoAnswer;
    const uint16_t address = Word(pdu + 1), count = Word(pdu + 3);
    const int bytes = pdu[5];
    if (count < 1 || count > kMaxWrite || bytes != 2 * count) return kIllegalValue;
    if (pduLength != 6 + bytes) return kNoAnswer;
    if (!InMap(address, count)) return kIllegalAddress;
    for (uint16_t i = 0; i < count; ++i) {
        const int ex =
            WriteRegister(static_cast<uint16_t>(address + i), Word(pdu + 6 + 2 * i), kWriteMultiple, count);
        if (ex != 0) return ex;
    }
    return 0;
}

constexpr int kMinLength = 2, kMaxLength = kMaxAdu - 6;  // the header's length field

}  // namespace

int ModbusFrameLength(const uint8_t* stream, int have) {
    if (have < kMbapSize) return 0;
    const int protocol = Word(stream + 2), length = Word(stream + 4);
    if (protocol != 0 || length < kMinLength || length > kMaxLength) return -1;
    return 6 + length;
}

int ModbusRequestDecide(const uint8_t* adu, int length, int headerLength, uint16_t* registers) {
    if (headerLength < 0 || length <= headerLength) return kNoAnswer;
    const uint8_t* pdu = adu + headerLength;
    const int pduLength = length - headerLength;
    const uint8_t function = pdu[0];
    const bool holding = function == kReadHolding || function == kWriteSingle || function == kWriteMultiple;
    if (holding && g_ThreadCtl.running[kRunModbus].load(std::memory_order_acquire) != 1) return kDeviceBusy;
    switch (function) {
        case kReadHolding:
            return ReadHolding(pdu, pduLength, registers);
        case kWriteSingle:
            return WriteSingle(pdu, pduLength);
        case kWriteMultiple:
            return WriteMultiple(pdu, pduLength);
        case kMaskWrite:
        case kReadWriteMultiple:
            // The library would change its register table without asking the objects.
            return kIllegalFunction;
        default:
            return 0;
    }
}

}  // namespace remote
