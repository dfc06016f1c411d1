#include "platform/TempFile.h"

#include "platform/InterruptCleanup.h"

#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <vector>

TempFile TempFile::create(const std::string& directory, const std::string& prefix) {
    std::string dir = directory;
    if (dir.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        dir = (tmp && *tmp) ? tmp : "/tmp";
    }
    std::string pattern = dir + "/" + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    TempFile file;
    // Interrupts wait until the new file is registered, so none can leave it behind.
    blockInterruptSignals(true);
    int fd = mkstemp(name.data());
    if (fd >= 0) {
        file.path_ = name.data();
        file.cleanupSlot_ = registerInterruptCleanupFile(name.data());
    }
    blockInterruptSignals(false);
    if (fd < 0) return file;
    file.stream_ = fdopen(fd, "w+");
    if (!file.stream_) {
        ::close(fd);
        file.remove();
    }
    return file;
}

TempFile::TempFile(TempFile&& other) noexcept
    : path_(std::move(other.path_)),
      stream_(std::exchange(other.stream_, nullptr)),
      cleanupSlot_(std::exchange(other.cleanupSlot_, -1)),
      kept_(other.kept_) {
    other.path_.clear();
}

TempFile& TempFile::operator=(TempFile&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        other.path_.clear();
        stream_ = std::exchange(other.stream_, nullptr);
        cleanupSlot_ = std::exchange(other.cleanupSlot_, -1);
        kept_ = other.kept_;
    }
    return *this;
}

TempFile::~TempFile() { release(); }

void TempFile::release() {
    if (kept_) {
        close();
    } else {
        remove();
    }
}

bool TempFile::close() {
    if (!stream_) return true;
    bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
    ok = std::fclose(stream_) == 0 && ok;
    stream_ = nullptr;
    return ok;
}

void TempFile::keep() {
    kept_ = true;
    unregisterInterruptCleanupFile(cleanupSlot_);
    cleanupSlot_ = -1;
}

void TempFile::remove() {
    close();
    if (!path_.empty() && !kept_) unlink(path_.c_str());
    unregisterInterruptCleanupFile(cleanupSlot_);
    cleanupSlot_ = -1;
    path_.clear();
}
