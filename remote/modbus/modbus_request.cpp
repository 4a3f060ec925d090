#include "remote/modbus/modbus_request.h"

#include <atomic>
#include <cstring>

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
    kReadCoils = 0x01,
    kReadInputs = 0x02,
    kReadHolding = 0x03,
    kReadInputRegisters = 0x04,
    kWriteCoil = 0x05,
    kWriteSingle = 0x06,
    kWriteCoils = 0x0F,
    kWriteMultiple = 0x10,
};
enum Exception : int {
    kIllegalFunction = 1,
    kIllegalAddress = 2,
    kIllegalValue = 3,
    kDeviceFailure = 4,
    kDeviceBusy = 6,
};
constexpr int kNoAnswer = -1;
constexpr int kMaxBitRead = 2000;   // coils or inputs one read may ask for
constexpr int kMaxRead = 125;       // registers one read may ask for
constexpr int kMaxBitWrite = 1968;  // coils one write of function 15 may carry
constexpr int kMaxWrite = 123;      // registers one write of function 16 may carry
constexpr uint16_t kCoilOff = 0x0000, kCoilOn = 0xFF00;
constexpr uint8_t kExceptionBit = 0x80;

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

void PutWord(uint8_t* p, int value) {
    p[0] = static_cast<uint8_t>(value >> 8);
    p[1] = static_cast<uint8_t>(value);
}

bool InMap(uint32_t address, uint32_t count) {
    return address + count <= static_cast<uint32_t>(kModbusHoldingCount);
}

// The reply's data after its function code.
struct Reply {
    uint8_t* data;
    int length;
};

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

// Function 06 and 16 answer with the request's address and value (or count).
void EchoAddress(const uint8_t* pdu, Reply* reply) {
    std::memcpy(reply->data, pdu + 1, 4);
    reply->length = 4;
}

int ReadHolding(const uint8_t* pdu, int pduLength, Reply* reply) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t address = Word(pdu + 1), count = Word(pdu + 3);
    if (count < 1 || count > kMaxRead) return kIllegalValue;
    if (!InMap(address, count)) return kIllegalAddress;
    reply->data[0] = static_cast<uint8_t>(2 * count);
    for (uint16_t i = 0; i < count; ++i) {
        ObjRequest req = Request(static_cast<uint16_t>(address + i), kObjRead, kReadHolding, count);
        uint32_t v = 0;
        if (ObjDictionaryAccess(&req, &v) != kObjStatusDone) return kDeviceFailure;
        PutWord(reply->data + 1 + 2 * i, static_cast<int>(v));
    }
    reply->length = 1 + 2 * count;
    return 0;
}

int WriteSingle(const uint8_t* pdu, int pduLength, Reply* reply) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t address = Word(pdu + 1);
    if (!InMap(address, 1)) return kIllegalAddress;
    EchoAddress(pdu, reply);
    return WriteRegister(address, Word(pdu + 3), kWriteSingle, 1);
}

// Registers are written in address order; a refused value stops the write there.
int WriteMultiple(const uint8_t* pdu, int pduLength, Reply* reply) {
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
    EchoAddress(pdu, reply);
    return 0;
}

// Coils and inputs: the request is checked as its function asks, and then no address holds one.
int ReadBits(const uint8_t* pdu, int pduLength, Reply*) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t count = Word(pdu + 3);
    return count < 1 || count > kMaxBitRead ? kIllegalValue : kIllegalAddress;
}

int ReadInputRegisters(const uint8_t* pdu, int pduLength, Reply*) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t count = Word(pdu + 3);
    return count < 1 || count > kMaxRead ? kIllegalValue : kIllegalAddress;
}

int WriteCoil(const uint8_t* pdu, int pduLength, Reply*) {
    if (pduLength != kAddressCountPdu) return kNoAnswer;
    const uint16_t value = Word(pdu + 3);
    return value != kCoilOff && value != kCoilOn ? kIllegalValue : kIllegalAddress;
}

int WriteCoils(const uint8_t* pdu, int pduLength, Reply*) {
    if (pduLength < 6) return kNoAnswer;
    const uint16_t count = Word(pdu + 3);
    const int bytes = pdu[5];
    if (count < 1 || count > kMaxBitWrite || bytes != (count + 7) / 8) return kIllegalValue;
    if (pduLength != 6 + bytes) return kNoAnswer;
    return kIllegalAddress;
}

struct Served {
    uint8_t function;
    bool holding;  // reaches an object: refused while Modbus is disabled
    int (*answer)(const uint8_t* pdu, int pduLength, Reply* reply);
};
constexpr Served kServed[] = {
    {kReadCoils, false, ReadBits},     {kReadInputs, false, ReadBits},
    {kReadHolding, true, ReadHolding}, {kReadInputRegisters, false, ReadInputRegisters},
    {kWriteCoil, false, WriteCoil},    {kWriteSingle, true, WriteSingle},
    {kWriteCoils, false, WriteCoils},  {kWriteMultiple, true, WriteMultiple},
};

// 0 and the reply's data, an exception code, or kNoAnswer.
int Decide(const uint8_t* pdu, int pduLength, Reply* reply) {
    for (const Served& s : kServed) {
        if (s.function != pdu[0]) continue;
        if (s.holding && g_ThreadCtl.running[kRunModbus].load(std::memory_order_acquire) != 1)
            return kDeviceBusy;
        return s.answer(pdu, pduLength, reply);
    }
    return kIllegalFunction;
}

constexpr int kMinLength = 2, kMaxLength = kMaxAdu - 6;  // the header's length field

}  // namespace

int ModbusFrameLength(const uint8_t* stream, int have) {
    if (have < kMbapSize) return 0;
    const int protocol = Word(stream + 2), length = Word(stream + 4);
    if (protocol != 0 || length < kMinLength || length > kMaxLength) return -1;
    return 6 + length;
}

int ModbusAnswer(const uint8_t* adu, int length, uint8_t* answer) {
    if (length <= kMbapSize || length > kMaxAdu) return kNoAnswer;
    const uint8_t* pdu = adu + kMbapSize;
    uint8_t* out = answer + kMbapSize;
    Reply reply{out + 1, 0};
    const int verdict = Decide(pdu, length - kMbapSize, &reply);
    if (verdict == kNoAnswer) return kNoAnswer;
    std::memcpy(answer, adu, kMbapSize);  // transaction id, protocol id and unit id as asked
    out[0] = pdu[0];
    if (verdict != 0) {
        out[0] = static_cast<uint8_t>(pdu[0] | kExceptionBit);
        out[1] = static_cast<uint8_t>(verdict);
        reply.length = 1;
    }
    PutWord(answer + 4, 2 + reply.length);  // the unit id, the function code and the data
    return kMbapSize + 1 + reply.length;
}

}  // namespace remote
