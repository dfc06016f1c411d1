// Collects the reports of the suite tree layer while a test runs, formatted
// as the installed hook would print them.
#pragma once

#include "tree/AccessReport.h"

#include <cstdio>
#include <string>
#include <vector>

class AccessReportCapture {
public:
    AccessReportCapture() : previous_(setAccessReportHook(&collect)) { reports().clear(); }
    ~AccessReportCapture() { setAccessReportHook(previous_); }
    AccessReportCapture(const AccessReportCapture&) = delete;
    AccessReportCapture& operator=(const AccessReportCapture&) = delete;

    // Everything reported since construction or the last take(), then forgets it.
    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(reports());
        return out;
    }

private:
    static std::vector<std::string>& reports() {
        static std::vector<std::string> all;
        return all;
    }
    static void collect(const char* format, va_list args) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        reports().emplace_back(text);
    }

    AccessReportHook previous_;
};
