#pragma once
// Archives for the update tests: ustar members, whole archives and their gzip form.
#include <string>

// One member: name, type ('0' file, '5' folder, '2' link to /etc) and content.
std::string TarMember(const std::string& name, char type, const std::string& content);
// The members followed by the two zero blocks that end an archive.
std::string Tar(const std::string& members);
std::string Gzip(const std::string& data);
