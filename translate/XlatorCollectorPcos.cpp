// The collector's PCO declarations, for the behaviour translator: an event
// that names no PCO is taken at the suite's only PCO.
#include "translate/XlatorDefinitionCollector.h"

std::map<std::string, std::string> XlatorDefinitionCollector::getPCOs() const { return pcos_; }
