#include "platform/TempFile.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

std::string createTempFile(const std::string& directory, const std::string& prefix) {
    std::string dir = directory;
    if (dir.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        dir = (tmp && *tmp) ? tmp : "/tmp";
    }
    std::string pattern = dir + "/" + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return {};
    close(fd);
    return std::string(name.data());
}
