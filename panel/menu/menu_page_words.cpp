#include "panel/menu/menu_page_words.h"

std::atomic<uint32_t> SaveRecallType{0};
std::atomic<uint32_t> SaveRecallAction{0};
std::atomic<uint32_t> SaveRecallMemory{0};
std::atomic<uint32_t> g_MenuPreviewPage{0};
