#include "front/XlatorOptions.h"

bool tabularFormat = false;
