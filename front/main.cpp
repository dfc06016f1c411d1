// xlator.exe: converts a TTCN-2 suite (TTCN.MP and ASN.1 files) into TTCN-3.
#include "front/XlatorRun.h"
#include "front/XlatorSuitePasses.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    std::unique_ptr<XlatorSuitePasses> suite = makeSuitePasses();
    int code = runConverter(arguments, stdout, *suite);
    std::fflush(stdout);
    std::fflush(stderr);
    // The output files are closed: the loaded suite and everything else the
    // run holds go with the process instead of being freed piece by piece.
    std::_Exit(code);
}
