#include "suite/OutOfMemory.h"

#include "platform/InterruptCleanup.h"
#include "suite/LibrarySettings.h"

#include <cstdio>
#include <cstdlib>

namespace {
bool gRanOut = false;
}

void libraryOutOfMemory() {
    gRanOut = true;
    if (!LibrarySettings::abortOnOutOfMemory()) return;
    // Ended without unwinding: nothing else would remove the temporary files.
    removeInterruptCleanupFiles();
    std::fflush(stdout);
    std::fputs("Out of memory\n", stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

bool libraryRanOutOfMemory() { return gRanOut; }
void resetLibraryOutOfMemory() { gRanOut = false; }
