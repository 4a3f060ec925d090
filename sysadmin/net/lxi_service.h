#pragma once
// The LXI service file the mDNS responder announces (/etc/avahi/services/lxi.service).
#include <string>

// The text with & < > " ' escaped, so a model or serial text cannot break the XML.
std::string XmlEscape(const char* text);
// Writes the service file for the unit's brand, model and serial; 0, or -1 when it cannot be written.
int LxiServiceWrite();
