// Modification stamps of files, to tell whether a file changed since it was read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The file's modification time in seconds, cut to 32 bits; none when the file
// cannot be examined.
std::optional<std::uint32_t> fileModificationStamp(const std::string& path);
