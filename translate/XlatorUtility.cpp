#include "translate/XlatorUtility.h"

RootBehaviour* gpRootBehaviour = nullptr;
