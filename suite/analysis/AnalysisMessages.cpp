#include "suite/analysis/AnalysisMessages.h"

#include "platform/ConsoleText.h"

namespace {

const char* const kCatalogue[kAnalysisMessageCount] = {
    /*   0 */ "The referenced object ~S is multiply defined.",
    /*   1 */ "The names of the rows in the type ~S are not unique in this table.",
    /*   2 */ "The type of a macro must be a structured type.",
    /*   3 */ "Named number ~S could not be found.",
    /*   4 */ "The constraint ~S is wrong.",
    /*   5 */ "The derivation path of ~S is different.",
    /*   6 */ "The parent constraint ~S is of another kind (PDU/ASP).",
    /*   7 */ "The parent constraint ~S is of another type than current constraint.",
    /*   8 */ "The parent constraint ~S could not be found.",
    /*   9 */ "The list of formal parameters in this constraint doesn't match the list in the base constraint.",
    /*  10 */ "The local type ~S is already declared.",
    /*  11 */ "The label ~S is not unique.",
    /*  12 */ "The name ~S is already used.",
    /*  13 */ "The parameter ~S is already declared.",
    /*  14 */ "The name ~S is ambigious.",
    /*  15 */ "The tree header ~S is not unique.",
    /*  16 */ "The name ~S is not unique.",
    /*  17 */ "The name ~S is not unique.",
    /*  18 */ "Syntax error: The argument list is not allowed to be empty.~A",
    /*  19 */ "Syntax error: The list is not allowed to be empty.",
    /*  20 */ "The referenced object ~S contains errors.",
    /*  21 */ "The name ~S is already used for something else.",
    /*  22 */ "The construct ACTIVATE is not allowed here.~A",
    /*  23 */ "ASN.1 comments are not allowed in this field:~A",
    /*  24 */ "This is an ASN.1 type and cannot be used here.",
    /*  25 */ "Value doesn't match the type, if found:~A",
    /*  26 */ "Illegal declaration of ~S. Field mismatch.",
    /*  27 */ "The field name ~S is not declared (at this point).",
    /*  28 */ "Fullidentifier is not allowed here:~A",
    /*  29 */ "Illegal indent level: is ~D, should be less than or equal to ~D.",
    /*  30 */ "Illegal label ~S is not defined in this context.",
    /*  31 */ "Negative number is not allowed here:~A",
    /*  32 */ "The realvalue base ~S must be 2 or 10.",
    /*  33 */ "The referenced object ~S is not declared.",
    /*  34 */ "The construct RETURN is not allowed here.~A",
    /*  35 */ "Illegal recursive reference to current table ~S.",
    /*  36 */ "Invalid ASN.1 field name:~A",
    /*  37 */ "~S is a TTCN type and cannot be used here.",
    /*  38 */ "Internal error #~D",
    /*  39 */ "Too few actual parameters:~A",
    /*  40 */ "The bit named number ~S is not found in the type.",
    /*  41 */ "A mandatory field is not allowed to be empty.",
    /*  42 */ "The closing parenthesis is missing:~A",
    /*  43 */ "ASN.1 field name missing:~A",
    /*  44 */ "The referenced object ~S contains errors.",
    /*  45 */ "",
    /*  46 */ "The referenced object ~S has an incorrect reference.",
    /*  47 */ "Illegal use of reserved word ~S.",
    /*  48 */ "The name ~s expected:~A",
    /*  49 */ "The name ~S is not found in the type:",
    /*  50 */ "Syntax error:~A",
    /*  51 */ "Too many actual parameters:~A",
    /*  52 */ "",
    /*  53 */ "The PCO type is only allowed to be empty if exactly one PCO type is declared in the test suite.",
    /*  54 */ "The field is not completed.",
    /*  55 */ "The referenced object ~S has not been analysed.",
    /*  56 */ "The referenced object ~S contains reference errors.",
    /*  57 */ "Mismatched number of parameters: is ~D, should be ~D.",
    /*  58 */ "The referenced object ~S is of wrong type.",
    /*  59 */ "The value ~S is not allowed as the upper value.",
    /*  60 */ "The value ~S is not allowed as the lower value.",
    /*  61 */ "Component position is not allowed in VELD. Use component name instead.",
    /*  62 */ "The corresponding type could not be found.~A",
    /*  63 */ "This component does not exist in the type.~A",
    /*  64 */ "This named bit does not exist in the type.~A",
    /*  65 */ "A recordref/bitref can not be used here.~A",
    /*  66 */ "An arrayref/bitref can not be used here.~A",
    /*  67 */ "Number too large, Range control disabled.~A",
    /*  68 */ "IntegerRange can only be applied to an INTEGER type.~A",
    /*  69 */ "SingleTypeLength can only be applied to a string type.~A",
    /*  70 */ "RangeTypeLength can only be applied to a string type.~A",
    /*  71 */ "singleLength can only be applied to a string type.~A",
    /*  72 */ "rangeLength can only be applied to a string type.~A",
    /*  73 */ "The singleTypeLength must be non-negative.~A",
    /*  74 */ "Lower must be non-negative.~A",
    /*  75 */ "Upper must be greater than Lower.~A",
    /*  76 */ "This is not an INTEGER value.~A",
    /*  77 */ "This is not a BOOLEAN value.~A",
    /*  78 */ "This is not a BITSTRING value.~A",
    /*  79 */ "This is not a CHARACTERSTRING value.~A",
    /*  80 */ "This is not a HEXSTRING value.~A",
    /*  81 */ "This is not an OCTETSTRING value.~A",
    /*  82 */ "This is not an R_TYPE value.~A",
    /*  83 */ "Value is of wrong type.~A",
    /*  84 */ "Left operand must be of type INTEGER.~A",
    /*  85 */ "Right operand must be of type INTEGER.~A",
    /*  86 */ "Left operand must be of type BOOLEAN.~A",
    /*  87 */ "Right operand must be of type BOOLEAN.~A",
    /*  88 */ "Left and right operands must be of compatible types.~A",
    /*  89 */ "Operand must be of type INTEGER.~A",
    /*  90 */ "Operand must be of type BOOLEAN.~A",
    /*  91 */ "Too few actual params.~A",
    /*  92 */ "Too many actual params.~A",
    /*  93 */ "Actual parameter is of wrong type.~A",
    /*  94 */ "The TestSuite Operation is not found.~A",
    /*  95 */ "Reference to a field within a data object required:~A",
    /*  96 */ "This field name is not found in the corresponding type. ~A",
    /*  97 */ "This must be a constraint reference: ~A",
    /*  98 */ "No macro expansion matching this cref found in the type: ~A",
    /*  99 */ "No StructTypeDef macro found matching this cref",
    /* 100 */ "The named number is not found in the corresponding type.~A",
    /* 101 */ "SUPERSET can only be applied to a SET OF Type.~A",
    /* 102 */ "SUBSET can only be applied to a SET OF Type.~A",
    /* 103 */ "PERMUTATION can only be used in a SEQUENCE Of value.~A",
    /* 104 */ "ASN.1 AnyValue can only be applied to a AnyType.~A",
    /* 105 */ "Cannot use a constraint without a send/receive event.~A",
    /* 106 */ "This must be a PCOType.~A",
    /* 107 */ "This constraint does not match type of send/receive object.~A",
    /* 108 */ "Send/receive object can not be applied to this PCO.~A",
    /* 109 */ "Send/receive can not be applied to PDU without PCO Type declaration.~A",
    /* 110 */ "Cref missing on send/receive line.",
    /* 111 */ "The singleLength must be non-negative.~A",
    /* 112 */ "Missing configuration in concurrent testcase.",
    /* 113 */ "A verdict must not be set on a line with this type of construct.",
    /* 114 */ "This definition contradicts a parent types definition.",
    /* 115 */ "This definition contradicts the fields parent type definition.",
    /* 116 */ "Due to restrictions in the fields type, this value is not permitted.~A",
    /* 117 */ "Actual parameter violates a type restriction.~A",
    /* 118 */ "The referred ASN.1 module could not be found.~A",
    /* 119 */ "The referred ASN.1 type could not be found in module.~A",
    /* 120 */ "The referred ASN.1 value could not be found in module.~A",
    /* 121 */ "A CP does not have two endpoints in this configuration.~A",
    /* 122 */ "Any given PCO may only be used from one component.~A",
    /* 123 */ "The number of CPs does not match the number in the component declaration.~A",
    /* 124 */ "The number of PCOs does not match the number in the component declaration.~A",
    /* 125 */ "The configuration does not contain a Master Test Component.~A",
    /* 126 */ "The configuration contain more than one Master Test Component.~A",
    /* 127 */ "Since this is the last line of a test case, a verdict must be set on this line.",
    /* 128 */ "Due to the final verdict, the subtree of this line will never be reached.",
    /* 129 */ "The PCO operand is only allowed to be omitted if exactly one PCO is declared in the test suite.~A",
    /* 130 */ "This constraint is not complete.",
    /* 131 */ "PTC ~S not declared in the configuration ~s.",
    /* 132 */ "This ASP/PDU/CM is not allowed here, because it was not present in the SEND/RECEIVE statement.~A",
    /* 133 */ "IF_PRESENT attribute not allowed here.~A",
    /* 134 */ "OMIT is not allowed here.~A",
    /* 135 */ "Tree attach itself (directly or indirectly) at top level of indentation.~A",
    /* 136 */ "Meta-PDU not allowed in comparison.~A",
    /* 137 */ "Test Case attachment is not allowed.~A",
    /* 138 */ "Endpoint couldn't be negative in SIZE Constraint.~A",
    /* 139 */ "Upper boundary couldn't be less than Low boundary.~A",
    /* 140 */ "Length couldn't be negative in SIZE Constraint.~A",
    /* 141 */ "TS and TC Variables couldn't be used in constraints, unless passed as actual parameters.~A",
    /* 142 */ "Object ~S has reference to itself.",
    /* 143 */ "Using CHOICE value without colon. ~A",
    /* 144 */ "Tuple: table column shall be in the range zero to seven.~A",
    /* 145 */ "Tuple: table row shall be in the range zero to fifteen.~A",
    /* 146 */ "Replacement in base constraint isn't allowed.~A",
    /* 147 */ "The PCOs are not allowed to be compared.~A",
    /* 148 */ "TTCN BITSTRING and HEXSTRING types doesn't allow spaces, tabs or newlines in values.~A",
    /* 149 */ "Instead Of Values and Inside Values are not allowed in RHS of assignments and in variable's initial values.~A",
    /* 150 */ "Probably usage Instead Of Value or Inside Value in RHS of assignments or in variable's initial value.~A",
    /* 151 */ "SIZE constarint isn't applicable for this type.~A",
    /* 152 */ "The assignment LHS is of illegal type.~A",
    /* 153 */ "The referenced object ~S needs to be reparsed.",
    /* 154 */ "Mismatched #if/#endif pair.~A",
    /* 155 */ "Mismatched #if/#endif pair in table body.",
    /* 156 */ "Expected #endif.~A",
    /* 157 */ "Unexpected #endif.~A",
    /* 158 */ "GOTO to this label isn't allowed.~A",
    /* 159 */ "Integer calculation overflow. Only values between -(2^64-1)..(2^64-1) are supported.~A",
};

}  // namespace

std::string_view analysisMessageText(int number) {
    if (number < 0 || number >= kAnalysisMessageCount) return {};
    return kCatalogue[number];
}

std::string showPlace(std::string_view fieldText, const AnalysisArgument& place) {
    std::size_t at = std::string_view::npos;
    if (place.offset >= 0 && static_cast<std::size_t>(place.offset) <= fieldText.size()) {
        at = static_cast<std::size_t>(place.offset);
    } else if (!place.text.empty()) {
        at = fieldText.find(place.text);
    }
    if (at == std::string_view::npos) return std::string(kUnableToFindSubstring);

    std::size_t lastBreak = fieldText.substr(0, at).rfind('\n');
    std::size_t lineStart = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    std::size_t lineEnd = fieldText.find('\n', at);
    if (lineEnd == std::string_view::npos) lineEnd = fieldText.size();
    std::string_view line = fieldText.substr(lineStart, lineEnd - lineStart);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::string shown = "\n";
    shown += line;
    shown += '\n';
    // Tabs stay tabs under the caret so that the caret lines up however the
    // report is displayed; a NUL byte is written as "<NUL>" (platform/ConsoleText.h).
    for (std::size_t i = lineStart; i < at; ++i) {
        if (fieldText[i] == '\0') shown.append(kShownNulByte.size(), ' ');
        else shown += fieldText[i] == '\t' ? '\t' : ' ';
    }
    shown += '^';
    return shown;
}

std::string formatAnalysisMessage(int number, const std::vector<AnalysisArgument>& arguments,
                                  std::string_view fieldText) {
    std::string_view text = analysisMessageText(number);
    std::string out;
    out.reserve(text.size() + 32);
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '~' && i + 1 < text.size()) {
            char p = text[i + 1];
            if (p == 'S' || p == 's' || p == 'D' || p == 'A') {
                ++i;
                const AnalysisArgument* argument = next < arguments.size() ? &arguments[next] : nullptr;
                ++next;
                if (p == 'A') {
                    out += showPlace(fieldText, argument ? *argument : AnalysisArgument{});
                } else if (argument) {
                    out += argument->text;
                }
                continue;
            }
        }
        out += c;
    }
    return out;
}
