// The process-wide report hook of the suite tree layer.
//
// Every diagnostic of the typed views, AccessNode and AccessVisitor goes
// through one printf-style hook. The default does nothing: the converter
// installs none, so the messages stay silent and each operation goes on with
// its fallback result. Tests and debugging tools install a hook to see them.
#pragma once

#include <cstdarg>

using AccessReportHook = void (*)(const char* format, va_list args);

// Installs `hook` (null restores the silent default) and returns the previous one.
AccessReportHook setAccessReportHook(AccessReportHook hook);

// Hands the message to the installed hook, if any.
void accessReport(const char* format, ...) __attribute__((format(printf, 1, 2)));
