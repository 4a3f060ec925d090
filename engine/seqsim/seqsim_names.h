#pragma once
// Names of the SEQ and SIM memories 0-9: 20 characters each, not terminated when all 20 are used.
#include <string>

// Copies up to 20 characters and keeps both lists in their file (SeqSimNamesSave); -1 for a slot outside 0-9,
// no text, or when the mode (SEQ, SIM) is not active; 0 on success.
int SeqSetMemName(const char* text, int slot);
int SimSetMemName(const char* text, int slot);
// The name (at most 20 characters); empty for a slot outside 0-9 or when the mode is not active.
std::string SeqGetMemName(int slot);
std::string SimGetMemName(int slot);
