#include "translate/XlatorDefinitionCollector.h"

XlatorDefinitionCollector gDefinitionCollector;
