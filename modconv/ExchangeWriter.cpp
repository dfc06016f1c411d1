#include "modconv/ExchangeWriter.h"

std::string exchangeBlock(const std::vector<ConvertedModule>& modules) {
    std::string out = "#MODULE\n";
    out += modules.empty() ? std::string() : modules.front().name;
    out += "\n";
    for (const auto& module : modules) {
        for (const auto& assignment : module.assignments) {
            if (assignment.isValue) {
                out += "#VALUE\n" + assignment.name + "\n#TYPE\n" + assignment.type + "\n";
            } else {
                out += "#TYPE\n" + assignment.name + "\n";
            }
            out += "#DEFINITION\n" + assignment.definition + "\n";
        }
    }
    out += "#END\n";
    return out;
}
