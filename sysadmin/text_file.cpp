#include "sysadmin/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/host/root.h"

int TextFileWrite(const char* path, const std::string& text) {
    const std::string host = plat::MapPath(path);
    if (host.empty()) return -1;
    const std::string temp = host + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    const bool whole = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const bool synced = fsync(fd) == 0;
    close(fd);
    if (!whole || !synced || std::rename(temp.c_str(), host.c_str()) != 0) {
        unlink(temp.c_str());
        return -1;
    }
    return 0;
}

bool TextFileRead(const char* path, std::string* text, size_t max) {
    const std::string host = plat::MapPath(path);
    if (host.empty()) return false;
    const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    text->assign(max, '\0');
    size_t got = 0;
    for (ssize_t n; got < max && (n = read(fd, &(*text)[got], max - got)) > 0;)
        got += static_cast<size_t>(n);
    close(fd);
    text->resize(got);
    return true;
}
