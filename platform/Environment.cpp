#include "platform/Environment.h"

#include <cstdlib>

std::optional<std::string> environmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> nonEmptyEnvironmentValue(const std::string& name) {
    auto value = environmentValue(name);
    if (!value || value->empty()) return std::nullopt;
    return value;
}
