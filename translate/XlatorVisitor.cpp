#include "translate/XlatorVisitor.h"

XlatorVisitor::XlatorVisitor(const AccessSuite& suite) : suite_(suite) {}

XlatorVisitor::~XlatorVisitor() = default;
