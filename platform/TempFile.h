// Unique temporary files, created atomically with mkstemp.
#pragma once

#include <string>

// Creates a new empty file named `<directory>/<prefix>XXXXXX` and returns its
// path, or an empty string when it cannot be created. An empty directory means
// the platform's temporary directory ($TMPDIR, else /tmp).
std::string createTempFile(const std::string& directory, const std::string& prefix);
