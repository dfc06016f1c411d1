// The fixture of the ASN.1 association and converter tests: a fresh working
// directory holding the converter's keyword file, with VELD naming the
// build's program folder and TMPDIR a folder of the test's own.
#pragma once

#include "TestSupport.h"

namespace asn1test {

class ScratchDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch_.path().empty());
        dir_ = scratch_.path();
        previous_ = fs::current_path();
        fs::current_path(dir_);
        fs::copy_file(binaryDirectory() / "modconv_kwd.txt", dir_ / "modconv_kwd.txt");
        veld_.emplace("VELD", binaryDirectory().string());
        fs::create_directory(dir_ / "tmp");
        tmpdir_.emplace("TMPDIR", (dir_ / "tmp").string());
    }
    void TearDown() override {
        veld_.reset();
        tmpdir_.reset();
        if (!previous_.empty()) fs::current_path(previous_);
    }

    ScratchDir scratch_;
    fs::path dir_;
    fs::path previous_;
    std::optional<ScopedEnvironment> veld_;
    std::optional<ScopedEnvironment> tmpdir_;
};

}  // namespace asn1test
