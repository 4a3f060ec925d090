#pragma once
// Whole text files of the operating system (/tmp/netconf, /etc/resolv.conf, the service file, sysfs
// values), by instrument path.
#include <string>

// Replaces the file with text: written to a temporary file beside it, synced and renamed over it, so a
// reader sees the old file or the new one whole. 0, or -1 when it cannot be written.
int TextFileWrite(const char* path, const std::string& text);
// At most max bytes of the file; false when it cannot be opened.
bool TextFileRead(const char* path, std::string* text, size_t max = 4096);
