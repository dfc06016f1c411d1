// The suite tree kind numbers as the field parsers use them.
#pragma once

#include "tree/Choices.h"

#include <cstdint>

// Kind number of a schema kind by name, as a plain int.
#define FK(name) static_cast<int32_t>(Choices::name)
