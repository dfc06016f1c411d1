#include "tree/AccessReport.h"

namespace {
AccessReportHook gHook = nullptr;
}

AccessReportHook setAccessReportHook(AccessReportHook hook) {
    AccessReportHook previous = gHook;
    gHook = hook;
    return previous;
}

void accessReport(const char* format, ...) {
    if (gHook == nullptr) return;
    va_list args;
    va_start(args, format);
    gHook(format, args);
    va_end(args);
}
