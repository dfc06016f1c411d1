#include "translate/XlatorAttribute.h"

#include "front/XlatorOutput.h"

std::string XlatorAttribute::escape(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        escaped += c;
        if (c == '"') escaped += '"';
    }
    return escaped;
}

std::string XlatorAttribute::attributeText(const char* keyword, const std::string& target,
                                           const std::string& quoted) {
    std::string text = keyword;
    if (target.empty())
        text += " ";
    else
        text += " (" + target + ") ";
    return text + "\"" + escape(quoted) + "\"";
}

std::string XlatorDisplayAttribute::getText() const {
    return attributeText("display", target_, key_ + " := " + value_);
}

void writeAttributeComments(const XlatorAttributeList& list) {
    for (const auto& attribute : list)
        if (attribute->getKind() == XlatorAttribute::Display && !attribute->hasTarget())
            output().writeComment(attribute->getValue());
}

namespace {

// A with-block line is one line: carriage returns go, line feeds become "\n".
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line;
}

}  // namespace

void writeWithBlock(const XlatorAttributeList& list, bool tabularFormat) {
    auto considered = [tabularFormat](const XlatorAttribute& attribute) {
        return tabularFormat || attribute.getKind() != XlatorAttribute::Display;
    };
    bool anyValue = false;
    for (const auto& attribute : list)
        if (considered(*attribute) && attribute->hasValue()) anyValue = true;
    if (!anyValue) return;
    XlatorOutput& out = output();
    out.beginWith();
    for (const auto& attribute : list)
        if (considered(*attribute)) out.writeLine(oneLine(attribute->getText()));
    out.closeBlock(true);
    out.startLine();
}
