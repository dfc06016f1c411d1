// Environment lookups.
#pragma once

#include <optional>
#include <string>

// The value of the environment variable `name`, or none when it is unset.
std::optional<std::string> environmentValue(const std::string& name);

// The value, or none when the variable is unset or empty.
std::optional<std::string> nonEmptyEnvironmentValue(const std::string& name);
