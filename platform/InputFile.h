// Reading input files that must be regular files. A FIFO, a device or a
// directory named as an input is refused at once: opening a FIFO for reading
// blocks until a writer comes, and a device may never end.
#pragma once

#include <cstddef>
#include <string>

// True when `path` names an existing file that is not a regular file (after
// following links): the inputs that would block or never end.
bool existsButIsNotRegular(const std::string& path);

class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Opens `path` for reading; false when it cannot be opened or is not a
    // regular file.
    bool open(const std::string& path);
    // Appends up to `count` further bytes to `text` (fewer at the end of the
    // file); false on a read error.
    bool read(std::string& text, std::size_t count);
    // Appends everything up to the end of the file; false on a read error.
    bool readRest(std::string& text);

private:
    int fd_ = -1;
};

// The whole of a regular file; false when it cannot be opened, is not a
// regular file or cannot be read.
bool readRegularFile(const std::string& path, std::string& text);
