// The attributes of one definition: free text (display), field encodings
// (encode) and encoding variations (variant). Collected per definition, written
// as comment lines before it and as a with-block after it.
#pragma once

#include <memory>
#include <string>
#include <vector>

class XlatorAttribute {
public:
    enum Kind { Display = 0, Encode = 1, Variant = 2 };
    virtual ~XlatorAttribute() = default;
    virtual int getKind() const = 0;
    virtual std::string getValue() const = 0;
    virtual std::string getText() const = 0;
    virtual bool hasTarget() const = 0;
    virtual bool hasValue() const = 0;

protected:
    // Every double quote doubled, as TTCN-3 strings want it.
    static std::string escape(const std::string& text);
    // "<keyword> " or "<keyword> (<target>) ", then the quoted, escaped text.
    static std::string attributeText(const char* keyword, const std::string& target,
                                     const std::string& quoted);
};

class XlatorDisplayAttribute : public XlatorAttribute {
public:
    XlatorDisplayAttribute(std::string key, std::string value)
        : key_(std::move(key)), value_(std::move(value)) {}
    XlatorDisplayAttribute(std::string target, std::string key, std::string value)
        : target_(std::move(target)), key_(std::move(key)), value_(std::move(value)) {}
    int getKind() const override { return Display; }
    std::string getValue() const override { return value_; }
    std::string getText() const override;
    bool hasTarget() const override { return !target_.empty(); }
    bool hasValue() const override { return !value_.empty(); }

private:
    std::string target_;
    std::string key_;
    std::string value_;
};

class XlatorEncodeAttribute : public XlatorAttribute {
public:
    explicit XlatorEncodeAttribute(std::string encoding) : encoding_(std::move(encoding)) {}
    XlatorEncodeAttribute(std::string target, std::string encoding)
        : target_(std::move(target)), encoding_(std::move(encoding)) {}
    int getKind() const override { return Encode; }
    std::string getValue() const override { return encoding_; }
    std::string getText() const override { return attributeText("encode", target_, encoding_); }
    bool hasTarget() const override { return !target_.empty(); }
    bool hasValue() const override { return !encoding_.empty(); }

private:
    std::string target_;
    std::string encoding_;
};

class XlatorVariantAttribute : public XlatorAttribute {
public:
    explicit XlatorVariantAttribute(std::string encoding) : encoding_(std::move(encoding)) {}
    int getKind() const override { return Variant; }
    std::string getValue() const override { return encoding_; }
    std::string getText() const override { return attributeText("variant", target_, encoding_); }
    bool hasTarget() const override { return !target_.empty(); }
    bool hasValue() const override { return !encoding_.empty(); }

private:
    std::string target_;  // never set by the collectors
    std::string encoding_;
};

// The attributes of one definition, in collection order; destroyed after the
// definition is written.
using XlatorAttributeList = std::vector<std::unique_ptr<XlatorAttribute>>;

// The comment lines before a definition: the value of every display attribute
// without target, each of its lines a "// " line.
void writeAttributeComments(const XlatorAttributeList& list);
// The with-block after a definition: every attribute with -TFT, else only the
// encode and variant ones; nothing when none of them has a value.
void writeWithBlock(const XlatorAttributeList& list, bool tabularFormat);
