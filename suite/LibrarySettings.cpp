#include "suite/LibrarySettings.h"

#include "suite/TextSpan.h"

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One cached environment variable; `read` is false until first asked.
struct Cached {
    explicit Cached(const char* variable) : name(variable) {}

    const char* name;
    bool read = false;
    std::optional<std::string> value;

    const std::optional<std::string>& get() {
        if (!read) {
            const char* v = std::getenv(name);
            value = v ? std::optional<std::string>(v) : std::nullopt;
            read = true;
        }
        return value;
    }
};

struct Environment {
    Cached srcDir{"VELD_src_dir"};
    Cached targetDir{"VELD_target_dir"};
    Cached sessionDir{"VELD_SESSION_DIR"};
    Cached veld{"VELD"};
    Cached longErrors{"VELD_LONG_ERRORS"};
    Cached abortOnOom{"VELD_ABORT_ON_OUT_OF_MEMORY"};
    Cached scannerBuffer{"VELD_SCANNER_BUFFER_SIZE"};
    Cached mpTrace{"VELD_MP_INPUT_TRACE"};
    Cached skipTypeControl{"VELD_SKIP_TYPE_CONTROL"};
    Cached keepEmptyOptionals{"VELD_KEEP_EMPTY_OPTIONALS"};
    Cached ignoreConfigDcl{"VELD_TC_IGNORE_CONFIGDCL"};
    Cached restrictLevel{"VELD_RESTRICT_LEVEL"};
    Cached prcDebug{"VELD_PRC_DEBUG"};
    Cached toolTimeout{"VELD_TOOL_TIMEOUT"};
};

Environment& environment() {
    static Environment env;
    return env;
}

}  // namespace

namespace LibrarySettings {

const std::optional<std::string>& sourceDirectory() { return environment().srcDir.get(); }
const std::optional<std::string>& targetDirectory() { return environment().targetDir.get(); }

std::string sessionDirectory() {
    const std::optional<std::string>& dir = environment().sessionDir.get();
    if (dir && !dir->empty()) {
        struct stat st{};
        if (::stat(dir->c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(dir->c_str(), W_OK) == 0) {
            std::string result = *dir;
            if (result.back() != '/' && result.back() != '\\') result += '\\';
            return result;
        }
    }
    return libraryDirectories().target;
}

const std::optional<std::string>& installationDirectory() { return environment().veld.get(); }
bool longErrors() { return environment().longErrors.get().has_value(); }
bool abortOnOutOfMemory() { return environment().abortOnOom.get().has_value(); }

long scannerBufferSize() {
    const std::optional<std::string>& v = environment().scannerBuffer.get();
    if (!v) return 0;
    return textspan::decimal<long>(textspan::trim(*v)).value_or(0);
}

bool mpInputTrace() { return environment().mpTrace.get().has_value(); }
bool skipTypeControl() { return environment().skipTypeControl.get().has_value(); }
bool keepEmptyOptionals() { return environment().keepEmptyOptionals.get().has_value(); }
bool ignoreConfigurationDeclarations() { return environment().ignoreConfigDcl.get().has_value(); }

int restrictLevel() {
    const std::optional<std::string>& v = environment().restrictLevel.get();
    if (v && *v == "SOME") return 1;
    if (v && *v == "NONE") return 0;
    return 2;
}

bool typeControlDebug() { return environment().prcDebug.get().has_value(); }

int toolTimeoutSeconds() {
    const std::optional<std::string>& v = environment().toolTimeout.get();
    if (!v || v->empty() || v->find_first_not_of("0123456789") != std::string::npos) return kDefaultToolTimeout;
    std::string digits = v->substr(std::min(v->find_first_not_of('0'), v->size()));
    if (digits.empty()) return kDefaultToolTimeout;  // 0 is no time at all
    // Over eleven days is as good as no limit; the cap keeps the milliseconds in range.
    return digits.size() > 6 ? 999999 : std::atoi(digits.c_str());
}

void reload() { environment() = Environment{}; }

}  // namespace LibrarySettings

LibraryDirectories& libraryDirectories() {
    static LibraryDirectories directories;
    return directories;
}

std::string formatLibraryError(const LibraryError& error) {
    std::string text = error.text;
    if (!LibrarySettings::longErrors()) {
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    text += "\n*** " + error.file + " @ " + std::to_string(error.line);
    if (!error.function.empty()) text += ",\n    " + error.function;
    return text;
}
