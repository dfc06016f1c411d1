// Writes converted modules in the exchange format that the suite library reads back.
#pragma once

#include <string>
#include <vector>

#include "modconv/ModuleSplitter.h"

// One "#MODULE" ... "#END" block for one source file. Several modules of one
// file share the block, under the first module's name.
std::string exchangeBlock(const std::vector<ConvertedModule>& modules);
