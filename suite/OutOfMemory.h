// What the suite library does when an allocation fails. Every place of the
// library that catches std::bad_alloc calls libraryOutOfMemory() before it
// hands the failure back. With VELD_ABORT_ON_OUT_OF_MEMORY set that call
// prints "Out of memory" on standard error, removes the library's temporary
// files and ends the process with exit code 1; without it the call only
// remembers that memory ran out, so that suite opening can say why it failed.
#pragma once

void libraryOutOfMemory();

// Whether memory ran out since the last reset.
bool libraryRanOutOfMemory();
void resetLibraryOutOfMemory();
