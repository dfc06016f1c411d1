#include "front/XlatorSuitePasses.h"

#include "access/AccessSuite.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorVisitor.h"

namespace {

// The suite library opens the suite; the collector and then the translation
// visitor walk its root node. The visitor lives until the run object goes,
// after the final messages.
class LoadedSuite : public XlatorSuitePasses {
public:
    bool open(const std::string& mpFileList, const std::string& asnListFile,
              std::FILE* reportStream) override {
        suite = std::make_unique<AccessSuite>();
        suite->setReportStream(reportStream);
        return suite->open(mpFileList, asnListFile.c_str()) != 0;
    }
    void collectDefinitions() override { gDefinitionCollector.Visit(suite->root()); }
    void translate() override {
        visitor = std::make_unique<XlatorVisitor>(*suite);
        visitor->Visit(suite->root());
    }

private:
    std::unique_ptr<AccessSuite> suite;
    std::unique_ptr<XlatorVisitor> visitor;
};

}  // namespace

std::unique_ptr<XlatorSuitePasses> makeSuitePasses() { return std::make_unique<LoadedSuite>(); }
