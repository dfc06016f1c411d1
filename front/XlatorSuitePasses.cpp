#include "front/XlatorSuitePasses.h"

#include "front/Fatal.h"

namespace {

// Until the suite library is linked in, a run stops when it reaches the suite.
class UnavailableSuite : public XlatorSuitePasses {
public:
    bool open(const std::string&, const std::string&, std::FILE*) override {
        XLATOR_INTERNAL_ERROR("suite library not built in");
    }
    void collectDefinitions() override {}
    void translate() override {}
};

}  // namespace

std::unique_ptr<XlatorSuitePasses> makeSuitePasses() { return std::make_unique<UnavailableSuite>(); }
