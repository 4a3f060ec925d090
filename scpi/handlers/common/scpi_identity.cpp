#include <cstdio>
#include <cstring>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "scpi/handlers/scpi_handler.h"

char g_IdnBuf[kScpiIdnSize];

namespace {
// The manufacturer of each brand, as the identity names it.
constexpr char kBrandMaker[3][32] = {"QX-ORVANE", "TULVE TECHNOLOGY", "PL PRO"};
constexpr char kFirmwareVersion[] = "1.06";
}  // namespace

void BuildIdnString() {
    uint32_t brand = g_BrandId.load(std::memory_order_relaxed);
    char model[sizeof g_ModelName], serial[sizeof g_SerialNo];
    IdentityTextRead(g_ModelName, sizeof model, model);
    IdentityTextRead(g_SerialNo, sizeof serial, serial);
    // The serial number need not be terminated; the model name is.
    // Built aside and copied under the identity lock: *IDN? reads the text from another thread.
    char idn[kScpiIdnSize];
    const int n = std::snprintf(idn, sizeof idn, "%.31s,%.31s,%.16s,%s", kBrandMaker[brand < 3 ? brand : 0],
                                model, serial, kFirmwareVersion);
    IdentityTextWrite(g_IdnBuf, sizeof g_IdnBuf, idn, n < 0 ? 0 : std::strlen(idn));
}
