#include "platform/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool existsButIsNotRegular(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool InputFile::open(const std::string& path) {
    // Without O_NONBLOCK the open itself would wait for a FIFO's writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    return true;
}

bool InputFile::read(std::string& text, std::size_t count) {
    if (fd_ < 0) return false;
    std::size_t start = text.size();
    text.resize(start + count);
    std::size_t got = 0;
    while (got < count) {
        ssize_t n = ::read(fd_, text.data() + start + got, count - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            text.resize(start + got);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(start + got);
    return true;
}

bool InputFile::readRest(std::string& text) {
    if (fd_ < 0) return false;
    constexpr std::size_t kChunk = 1 << 16;
    // The file's size is only a hint: it may still grow or shrink.
    struct stat info;
    if (::fstat(fd_, &info) == 0 && info.st_size > 0) {
        off_t at = ::lseek(fd_, 0, SEEK_CUR);
        if (at >= 0 && info.st_size > at) text.reserve(text.size() + static_cast<std::size_t>(info.st_size - at) + kChunk);
    }
    for (;;) {
        std::size_t before = text.size();
        if (!read(text, kChunk)) return false;
        if (text.size() - before < kChunk) return true;
    }
}

bool readRegularFile(const std::string& path, std::string& text) {
    InputFile file;
    text.clear();
    return file.open(path) && file.readRest(text);
}
