#include "engine/seqsim/seqsim_names.h"

#include <cstring>

#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_names_file.h"

namespace {

int SetName(char (*names)[kSeqSimNameLen], bool active, const char* text, int slot) {
    if (!active || text == nullptr || slot < 0 || slot > 9) return -1;
    std::strncpy(names[slot], text, kSeqSimNameLen);
    SeqSimNamesSave();
    return 0;
}

std::string GetName(const char (*names)[kSeqSimNameLen], bool active, int slot) {
    if (!active || slot < 0 || slot > 9) return {};
    return std::string(names[slot], strnlen(names[slot], kSeqSimNameLen));
}

}  // namespace

int SeqSetMemName(const char* text, int slot) {
    return SetName(g_SeqMemName, SeqIsActiveMode(), text, slot);
}
int SimSetMemName(const char* text, int slot) {
    return SetName(g_SimMemName, SimIsActiveMode(), text, slot);
}
std::string SeqGetMemName(int slot) {
    return GetName(g_SeqMemName, SeqIsActiveMode(), slot);
}
std::string SimGetMemName(int slot) {
    return GetName(g_SimMemName, SimIsActiveMode(), slot);
}
