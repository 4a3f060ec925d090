#pragma once
// Checks of a copied firmware file against its source, by md5sum through the command sandbox.
#include <string>

// The 32 hexadecimal digits md5sum gives for the file; "" when it fails or prints anything else.
std::string FwUpd_Md5(const char* path);

// True when both files have the same size above 0 and the same full md5 digest.
bool FwUpd_SameFile(const char* source, const char* copy);
