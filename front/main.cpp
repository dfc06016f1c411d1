// xlator.exe: converts a TTCN-2 suite (TTCN.MP and ASN.1 files) into TTCN-3.
#include "front/XlatorRun.h"
#include "front/XlatorSuitePasses.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    std::unique_ptr<XlatorSuitePasses> suite = makeSuitePasses();
    int code = runConverter(arguments, stdout, *suite);
    std::fflush(stdout);
    return code;
}
