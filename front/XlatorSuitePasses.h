// The suite steps of a real run: the suite library opens the suite, the
// definition collector and the translation visitor walk its root node.
#pragma once

#include "front/XlatorRun.h"

#include <memory>

std::unique_ptr<XlatorSuitePasses> makeSuitePasses();
