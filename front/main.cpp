// xlator.exe: converts a TTCN-2 suite (TTCN.MP and ASN.1 files) into TTCN-3.
#include "front/XlatorRun.h"
#include "front/XlatorSuitePasses.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    int code = 1;
    try {
        std::vector<std::string> arguments(argv, argv + argc);
        std::unique_ptr<XlatorSuitePasses> suite = makeSuitePasses();
        code = runConverter(arguments, stdout, *suite);
        std::fflush(stdout);
        std::fflush(stderr);
        // The output files are closed: the loaded suite and everything else the
        // run holds go with the process instead of being freed piece by piece.
        std::_Exit(code);
    } catch (const std::bad_alloc&) {
        // The suite library and the translation passes have their own answers;
        // this is for the few allocations of the run itself.
        std::fflush(stdout);
        std::fputs("Out of memory\n", stderr);
    }
    return code;
}
