#include "storage/nv/config_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/state/seqsim_slots.h"
#include "core/system/util/text_util.h"
#include "drivers/spi_nvm.h"
#include "storage/data_reset_note.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_hold.h"

namespace {

struct ConfigKeyRow;

// One value type: read finds the row's key in text[0, length) and stores the value, returning the bytes
// of the key's line with its line feed (0 when the key is missing); write puts the row's line at out
// (room bytes) and returns its length.
struct ConfigTypeHandler {
    int32_t (*read)(const ConfigKeyRow& row, const char* text, uint32_t length);
    int32_t (*write)(const ConfigKeyRow& row, char* out, uint32_t room);
};

struct ConfigKeyRow {
    char key[12];
    void* var;
    const ConfigTypeHandler* handlers;
};

constexpr uint32_t kWriteStop = kCfgTextArea - 16;
constexpr char kWhat[] = "network and interface configuration";
constexpr char kVersionText[] = "1.06";
constexpr char kChecksumKey[] = "CHECKSUM=";
// The only string setting besides the version is the 16-byte host name field.
constexpr size_t kStringField = sizeof g_LanCfg.HOSTNAME;

// A key counts only at the start of a line: a value holding "PORT=" must not set the port.
int32_t FindKey(const char* text, uint32_t length, const char* key) {
    const size_t k = std::strlen(key);
    if (k == 0 || k >= length) return -1;
    for (uint32_t i = 0; i + k <= length; ++i) {
        if ((i == 0 || text[i - 1] == '\n') && std::memcmp(text + i, key, k) == 0)
            return static_cast<int32_t>(i);
    }
    return -1;
}

// The row's value (after its key, up to the line feed or the end) and the length of its whole line.
struct Line {
    const char* value = nullptr;
    size_t valueLength = 0;
    int32_t lineLength = 0;  // 0: key missing
};
Line FindLine(const ConfigKeyRow& row, const char* text, uint32_t length) {
    Line line;
    const int32_t at = FindKey(text, length, row.key);
    if (at < 0) return line;
    const size_t start = static_cast<size_t>(at) + std::strlen(row.key);
    size_t end = start;
    while (end < length && text[end] != '\n')
        ++end;
    line.value = text + start;
    line.valueLength = end - start;
    line.lineLength = static_cast<int32_t>(end - static_cast<size_t>(at) + (end < length ? 1 : 0));
    return line;
}

// The value as a terminated text, cut to what any number needs.
void ValueText(const Line& line, char* out, size_t size) {
    const size_t n = line.valueLength < size - 1 ? line.valueLength : size - 1;
    std::memcpy(out, line.value, n);
    out[n] = '\0';
}

int64_t ReadNumber(const Line& line) {
    char buf[32];
    ValueText(line, buf, sizeof buf);
    return std::strtoll(buf, nullptr, 10);
}

int32_t Emit(uint32_t room, int n) {
    // A line that does not fit fills the room, so that the text counts as too long.
    if (n < 0 || static_cast<uint32_t>(n) >= room) return static_cast<int32_t>(room);
    return n;
}

template <typename T>
int32_t ReadInt(const ConfigKeyRow& row, const char* text, uint32_t length) {
    const Line line = FindLine(row, text, length);
    if (line.lineLength > 0) *static_cast<T*>(row.var) = static_cast<T>(ReadNumber(line));
    return line.lineLength;
}

template <typename T>
int32_t WriteUnsigned(const ConfigKeyRow& row, char* out, uint32_t room) {
    const unsigned v = *static_cast<const T*>(row.var);
    return Emit(room, std::snprintf(out, room, "%s%u\n", row.key, v));
}

int32_t WriteSigned(const ConfigKeyRow& row, char* out, uint32_t room) {
    const int v = *static_cast<const int32_t*>(row.var);
    return Emit(room, std::snprintf(out, room, "%s%d\n", row.key, v));
}

int32_t ReadIpAddr(const ConfigKeyRow& row, const char* text, uint32_t length) {
    const Line line = FindLine(row, text, length);
    if (line.lineLength == 0) return 0;
    // Only a key followed by nothing but white space to the end of the text keeps the address.
    const char* rest = line.value;
    const char* end = text + length;
    while (rest < end && std::isspace(static_cast<unsigned char>(*rest)))
        ++rest;
    if (rest == end) return line.lineLength;
    char buf[32];
    ValueText(line, buf, sizeof buf);
    int part[4] = {0, 0, 0, 0};
    std::sscanf(buf, "%d.%d.%d.%d", &part[0], &part[1], &part[2], &part[3]);
    auto* field = static_cast<uint8_t*>(row.var);
    for (int i = 0; i < 4; ++i)
        field[i] = static_cast<uint8_t>(part[i]);
    return line.lineLength;
}

int32_t WriteIpAddr(const ConfigKeyRow& row, char* out, uint32_t room) {
    const auto* f = static_cast<const uint8_t*>(row.var);
    return Emit(room, std::snprintf(out, room, "%s%u.%u.%u.%u\n", row.key, f[0], f[1], f[2], f[3]));
}

int32_t ReadString(const ConfigKeyRow& row, const char* text, uint32_t length) {
    if (row.var == kVersionText) return 0;  // the version is written, never taken back
    const Line line = FindLine(row, text, length);
    const size_t n = line.valueLength < kStringField - 1 ? line.valueLength : kStringField - 1;
    // The host name goes into /tmp/netconf: a value with a control character leaves the field as it was.
    if (line.lineLength > 0 && !TextHasControl(line.value, n)) {
        // Cut to the field and terminated: a longer value must not run past it, and a shorter one must
        // not leave the end of an older value behind it.
        char* field = static_cast<char*>(row.var);
        std::memcpy(field, line.value, n);
        std::memset(field + n, 0, kStringField - n);
    }
    return line.lineLength;
}

int32_t WriteString(const ConfigKeyRow& row, char* out, uint32_t room) {
    const char* s = static_cast<const char*>(row.var);
    // A line feed inside the value would start a line of its own, read as a key.
    size_t n = strnlen(s, kStringField - 1);
    if (const void* lf = std::memchr(s, '\n', n)) n = static_cast<size_t>(static_cast<const char*>(lf) - s);
    return Emit(room, std::snprintf(out, room, "%s%.*s\n", row.key, static_cast<int>(n), s));
}

constexpr ConfigTypeHandler kIpAddr{ReadIpAddr, WriteIpAddr};
constexpr ConfigTypeHandler kInt{ReadInt<int32_t>, WriteSigned};
constexpr ConfigTypeHandler kU32{ReadInt<uint32_t>, WriteUnsigned<uint32_t>};
constexpr ConfigTypeHandler kU8{ReadInt<uint8_t>, WriteUnsigned<uint8_t>};
constexpr ConfigTypeHandler kU16{ReadInt<uint16_t>, WriteUnsigned<uint16_t>};
constexpr ConfigTypeHandler kString{ReadString, WriteString};

const ConfigKeyRow ConfigKeyTable[] = {
    {"VERSION=", const_cast<char*>(kVersionText), &kString},
    {"MFRCOMM=", &g_LanPending.mask, &kU32},
    {"MC0=", &g_LanPending.flags, &kU32},
    {"MC1=", &g_LanPending.usb, &kU32},
    {"MC2=", &g_LanPending.gpibAddress, &kU32},
    {"MC3=", &g_LanPending.port, &kInt},
    {"MC4=", g_LanPending.ip, &kIpAddr},
    {"MC5=", g_LanPending.bcast, &kIpAddr},
    {"MC6=", g_LanPending.netmask, &kIpAddr},
    {"MC7=", g_LanPending.gateway, &kIpAddr},
    {"MC8=", g_LanPending.dns, &kIpAddr},
    {"MC9=", &g_LanPending.rs232Baud, &kU8},
    {"MCA=", &g_LanPending.rs232DataBits, &kU8},
    {"MCB=", &g_LanPending.rs232Parity, &kU8},
    {"MCC=", &g_LanPending.rs232StopBits, &kU8},
    {"MCD=", &g_LanPending.password, &kU32},
    {"SSRL0=", &g_SeqSimSlots.seq, &kU16},
    {"SSRL1=", &g_SeqSimSlots.sim, &kU16},
    {"LAN_EN=", &g_LanCfg.LAN_EN, &kU8},
    {"DHCP=", &g_LanCfg.DHCP, &kU8},
    {"VISA=", &g_LanCfg.VISA, &kU8},
    {"SOCKETS=", &g_LanCfg.SOCKETS, &kU8},
    {"TELNET=", &g_LanCfg.TELNET, &kU8},
    {"WEB=", &g_LanCfg.WEB, &kU8},
    {"PW_EN=", &g_LanCfg.PW_EN, &kU8},
    {"PW=", &g_LanCfg.PW, &kU32},
    {"IP=", g_LanCfg.IP, &kIpAddr},
    {"BCAST=", g_LanCfg.BCAST, &kIpAddr},
    {"MASK=", g_LanCfg.MASK, &kIpAddr},
    {"GW=", g_LanCfg.GW, &kIpAddr},
    {"DNS=", g_LanCfg.DNS, &kIpAddr},
    {"HOSTNAME=", g_LanCfg.HOSTNAME, &kString},
    {"PORT=", &g_LanCfg.PORT, &kU32},
};
static_assert(sizeof ConfigKeyTable / sizeof ConfigKeyTable[0] == 33);

uint16_t SignedByteSum(const char* text, size_t n) {
    uint16_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum = static_cast<uint16_t>(sum + static_cast<int8_t>(text[i]));
    return sum;
}

// The length the readers may search, or -1 for a text that is not sound.
int32_t ValidatedLength(const char* text) {
    const int32_t version = FindKey(text, kCfgTextArea, "VERSION=");
    const int32_t check = FindKey(text, kCfgTextArea, kChecksumKey);
    if (version < 0 || check < 0 || check < version) return -1;
    const char* tail = text + check;
    const size_t tailLength = strnlen(tail, kCfgTextArea - static_cast<size_t>(check));
    if (memmem(tail, tailLength, "UPDATE", 6) != nullptr) return static_cast<int32_t>(kCfgTextArea);
    const size_t keyEnd = static_cast<size_t>(check) + std::strlen(kChecksumKey);
    char digits[16];
    size_t n = 0;
    while (keyEnd + n < kCfgTextArea && n + 1 < sizeof digits && text[keyEnd + n] != '\n')
        digits[n] = text[keyEnd + n], ++n;
    digits[n] = '\0';
    const unsigned long stored = std::strtoul(digits, nullptr, 10);
    if (stored != SignedByteSum(text + version, static_cast<size_t>(check - version))) return -1;
    return static_cast<int32_t>(keyEnd + 1);
}

// The lines of the text a user sets, to compare against a held text's base: all but the checksum, and
// the address lines while DHCP is on (it sets them itself, and reading them back is no user's change).
std::string UserLines(const char* text, uint32_t length, bool dhcp) {
    static constexpr const char* kReadBack[] = {"IP=", "BCAST=", "MASK=", "GW=", "DNS="};
    std::string lines;
    for (uint32_t at = 0; at < length;) {
        const char* lf = static_cast<const char*>(std::memchr(text + at, '\n', length - at));
        const uint32_t end = lf != nullptr ? static_cast<uint32_t>(lf - text) + 1 : length;
        const std::string_view line(text + at, end - at);
        bool skip = line.starts_with(kChecksumKey);
        for (const char* key : kReadBack)
            skip = skip || (dhcp && line.starts_with(key));
        if (!skip) lines.append(line);
        at = end;
    }
    return lines;
}

}  // namespace

int32_t SaveSystemConfig() {
    std::lock_guard<std::mutex> hold(NvBlockLock());
    if (g_CfgTextBuf == nullptr) return -1;
    char* text = reinterpret_cast<char*>(g_CfgTextBuf);
    uint32_t length = 0;
    bool dhcp = false;
    {
        // Rows of the LAN settings among them: a factory default on the supervisor must not land mid-walk.
        std::lock_guard<std::mutex> lan(g_LanCfgLock);
        dhcp = g_LanCfg.DHCP != 0;
        for (const ConfigKeyRow& row : ConfigKeyTable) {
            if (length > kWriteStop) break;
            length += static_cast<uint32_t>(row.handlers->write(row, text + length, kCfgTextArea - length));
        }
    }
    if (length >= kWriteStop) return 0;
    const uint16_t sum = SignedByteSum(text, length);
    length += static_cast<uint32_t>(
        std::snprintf(text + length, kCfgTextArea - length, "%s%u\n", kChecksumKey, unsigned{sum}));
    // Bytes of an older, longer text left behind this one could be taken for part of it.
    std::memset(text + length, 0, kCfgTextArea - length);
    if (NvHoldBack(kNvHoldConfigText, UserLines(text, length, dhcp))) return -2;
    if (SpiNvmWriteCfgText(kCfgTextOffset, kCfgTextArea) != static_cast<int32_t>(kCfgTextArea)) return -1;
    return static_cast<int32_t>(length);
}

int32_t LoadSystemConfig() {
    // Taken before the lock, which it takes itself.
    const bool inUse = NvBlocksInUse();
    const char* why = nullptr;
    uint64_t print = kPrintUnreadable;
    int32_t consumed = -1;
    {
        std::lock_guard<std::mutex> hold(NvBlockLock());
        if (g_CfgTextBuf == nullptr) return -1;
        if (SpiNvmReadCfgText(kCfgTextOffset, kCfgTextArea) < 1) {
            NvHoldSet(kNvHoldConfigText, true);
            why = "memory unreadable";
        } else {
            const char* text = reinterpret_cast<const char*>(g_CfgTextBuf);
            const int32_t length = ValidatedLength(text);
            const bool blank = NvAreaBlank(g_CfgTextBuf, kCfgTextArea);
            NvHoldSet(kNvHoldConfigText, length < 0 && !blank);
            print = StoredDataPrint(g_CfgTextBuf, kCfgTextArea);
            // An area never written lost nothing; on a unit in use the text was written with its identity.
            if (length < 0 && (!blank || inUse)) why = blank ? "stored text erased" : "stored text damaged";
            if (length >= 0) {
                consumed = 0;
                std::lock_guard<std::mutex> lan(g_LanCfgLock);
                for (const ConfigKeyRow& row : ConfigKeyTable)
                    consumed += row.handlers->read(row, text, static_cast<uint32_t>(length));
            }
        }
    }
    if (why != nullptr) {
        StoredDataResetNote(kWhat, why, print);
    } else {
        StoredDataSound(kWhat);
    }
    return consumed;
}
