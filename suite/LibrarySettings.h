// The suite library's settings from the environment: `VELD` and every
// variable whose name begins with "VELD_", in one place. Each variable is read
// once, the first time that its subject asks for it.
#pragma once

#include "suite/LibraryError.h"

#include <optional>
#include <string>

namespace LibrarySettings {

// VELD_src_dir / VELD_target_dir: source and target directories of the
// suite's working files (unset: nothing).
const std::optional<std::string>& sourceDirectory();
const std::optional<std::string>& targetDirectory();
// VELD_SESSION_DIR when set, not empty, an existing writable directory, with a
// "\" added when it ends in neither "/" nor "\"; else the default session
// directory (the working directory of the suite's files).
std::string sessionDirectory();
// VELD: the installation directory the ASN.1 conversion tool is started from.
const std::optional<std::string>& installationDirectory();
bool longErrors();               // VELD_LONG_ERRORS
bool abortOnOutOfMemory();       // VELD_ABORT_ON_OUT_OF_MEMORY
long scannerBufferSize();        // VELD_SCANNER_BUFFER_SIZE, 0 when unset or not a number
bool mpInputTrace();             // VELD_MP_INPUT_TRACE
bool skipTypeControl();          // VELD_SKIP_TYPE_CONTROL
bool keepEmptyOptionals();       // VELD_KEEP_EMPTY_OPTIONALS
bool ignoreConfigurationDeclarations();  // VELD_TC_IGNORE_CONFIGDCL
// VELD_RESTRICT_LEVEL: "STRICT" 2, "SOME" 1, "NONE" 0; 2 when unset or other.
int restrictLevel();
bool typeControlDebug();         // VELD_PRC_DEBUG
// VELD_TOOL_TIMEOUT: seconds the ASN.1 conversion tool may run before it is
// stopped; kDefaultToolTimeout when unset or not a positive whole number.
inline constexpr int kDefaultToolTimeout = 600;
int toolTimeoutSeconds();

// Forgets every value read so far, so that the next question reads the
// environment again (for tests that change it).
void reload();

}  // namespace LibrarySettings

// The working directories of the suite's files, process-wide.
struct LibraryDirectories {
    std::string source;
    std::string target;
};
LibraryDirectories& libraryDirectories();

// The error text as the library shows it: with VELD_LONG_ERRORS the text, a
// line end, "*** ", the library source file, " @ " and its line and, where
// recorded, ",\n    " and the function; otherwise the text alone without a
// final line end.
std::string formatLibraryError(const LibraryError& error);
