#include "platform/FileStamp.h"

#include <sys/stat.h>

std::optional<std::uint32_t> fileModificationStamp(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::uint32_t>(info.st_mtime);
}
