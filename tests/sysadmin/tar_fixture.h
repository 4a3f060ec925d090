#pragma once
// Archives for the update tests: ustar members, whole archives and their gzip form.
#include <string>

// One member: name, type ('0' file, '5' folder, '2' link to /etc) and content.
std::string TarMember(const std::string& name, char type, const std::string& content);
// A member with the header fields a crafted archive plays with: the 8 bytes of magic and version at
// offset 257 ("ustar\0" "00" POSIX, "ustar  \0" old GNU), the prefix field, and the size stated in the
// header, which need not be the content's.
std::string TarMemberRaw(const std::string& name, char type, const std::string& content,
                         const std::string& magic, const std::string& prefix, size_t statedSize);
inline constexpr char kUstarMagic[] = "ustar\0" "00";
inline constexpr char kOldGnuMagic[] = "ustar  ";  // with its terminator: 8 bytes
// The members followed by the two zero blocks that end an archive.
std::string Tar(const std::string& members);
std::string Gzip(const std::string& data);
// The brand's update package file around a tar archive: a sound 32-byte header, then the archive with
// the halves of every byte swapped.
std::string UpdatePackage(std::string tar);
