// xlator.exe: converts a TTCN-2 suite (TTCN.MP and ASN.1 files) into TTCN-3.
#include "front/XlatorRun.h"
#include "front/XlatorSuitePasses.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    try {
        std::vector<std::string> arguments(argv, argv + argc);
        std::unique_ptr<XlatorSuitePasses> suite = makeSuitePasses();
        int code = runConverter(arguments, stdout, *suite);
        std::fflush(stdout);
        return code;
    } catch (const std::bad_alloc&) {
        // The suite library and the translation passes have their own answers;
        // this is for the few allocations of the run itself.
        std::fflush(stdout);
        std::fputs("Out of memory\n", stderr);
        return 1;
    }
}
