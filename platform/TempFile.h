// Unique temporary files, made atomically with mkstemp and used through the
// descriptor that mkstemp returned: the file is never opened again by name,
// so nothing can slip another file in under that name.
#pragma once

#include <cstdio>
#include <string>

class TempFile {
public:
    TempFile() = default;
    // A new empty file `<directory>/<prefix>XXXXXX`, open for reading and
    // writing. An empty directory means the platform's temporary directory
    // ($TMPDIR, else /tmp). When the file cannot be made the result is not
    // open and has no path. Until it is kept or removed, the file is also
    // removed when the process is interrupted (platform/InterruptCleanup.h).
    static TempFile create(const std::string& directory, const std::string& prefix);

    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&& other) noexcept;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    // Closes the file and removes it, unless it was kept.
    ~TempFile();

    bool isOpen() const { return stream_ != nullptr; }
    const std::string& path() const { return path_; }
    std::FILE* stream() const { return stream_; }

    // Flushes and closes the stream; false when something written did not
    // reach the file. The file stays on disk until removed or destroyed.
    bool close();
    // Leaves the file on disk for good.
    void keep();
    // Closes and removes the file now.
    void remove();

private:
    void release();

    std::string path_;
    std::FILE* stream_ = nullptr;
    int cleanupSlot_ = -1;
    bool kept_ = false;
};
