#include "storage/data_reset_note.h"

#include <cstdio>

void StoredDataResetNote(const char* what, const char* why) {
    std::fprintf(stderr, "%s reset: %s\n", what, why);
}
