#include "screens/seqsim/seqsim_words.h"

std::atomic<uint32_t> SeqScreenReady{0};
