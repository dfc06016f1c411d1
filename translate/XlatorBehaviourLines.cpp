// One behaviour line: its guard, its statement (an event, a construct or an
// implicit send), its assignments, timer operations and verdict, the level
// of its Children, and the statement that ends its branch. The blocks it opens
// are closed in the reverse order before it returns.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"

#include <cctype>
#include <string>

namespace {

// Lines nested one inside the other; deeper input is refused rather than
// exhausting the stack (the output would be several gigabytes of indentation
// long before that).
constexpr int kMaxBehaviourNesting = 1000;

class NestingGuard {
public:
    explicit NestingGuard(int& depth) : depth_(depth) {
        if (++depth_ > kMaxBehaviourNesting) XLATOR_INTERNAL_ERROR("Behaviour lines nested too deeply");
    }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};

void endLine() { output().startLine(); }

}  // namespace

void XlatorVisitor::GenerateBehaviour(const BehaviourLine& node, bool breakAfter, const DefaultsRef& active) {
    XLATOR_ASSERT(node.is_present_line(), "Line not specified");
    NestingGuard nesting(behaviourDepth_);
    XlatorOutput& out = output();
    bool guardWritten = false;  // "[...] " of an alternative
    bool blockOpen = false;     // the guard's "if" block or the alternative's block
    bool blockOpen2 = false;    // the "if" block around an attach that can fail

    if (node.is_present_comment() && !node.comment().text().empty())
        out.writeComment(std::string(node.comment().text()));

    bool altLine = isAltLine(node);
    if (isGuarded(node)) {
        XLATOR_ASSERT(node.line().statementLine().eventStatement().is_present_qualifier(), "Qualifier not present");
        Expression qualifier = node.line().statementLine().eventStatement().qualifier().expression();
        out.writeIndent();
        if (altLine) {
            out.write("[");
            VisitExpression(qualifier);
            out.write("] ");
            guardWritten = true;
        } else {
            out.write("if (");
            VisitExpression(qualifier);
            out.writeLine(")");
            out.openBlock();
            blockOpen = true;
        }
    } else if (altLine) {
        out.writeIndent();
        out.write("[] ");
        guardWritten = true;
    }

    StatementLine statement = node.line().statementLine();
    EventStatement eventStatement;
    bool sendLine = false;
    switch (statement.choice()) {
    case Choices::Construct: {
        XLATOR_ASSERT(!node.is_present_cref(), "Unexpected constraint for Construct");
        Construct construct = statement.construct();
        if (construct.choice() == Choices::Attach && !altLine && attachedTreeNeedsLoop(construct.attach())) {
            out.writeIndent();
            out.write("if(");
            writeConstruct(construct);
            out.writeLine(")");
            out.openBlock();
            blockOpen2 = true;
        } else {
            out.writeIndent();
            writeConstruct(construct);
            endLine();
        }
        break;
    }
    case Choices::ImplicitSend:
        out.writeIndent();
        out.write("action(");
        if (node.is_present_cref())
            VisitConstraintReference(node.cref().constraintReference());
        else
            out.write("\"\"");
        out.write(")");
        endLine();
        break;
    case Choices::EventStatement:
        eventStatement = statement.eventStatement();
        if (eventStatement.is_present_event()) {
            Event event = eventStatement.event();
            switch (event.choice()) {
            case Choices::Send:
                sendLine = true;
                writeSendLine(node, event.send(), eventStatement.assignmentList());
                break;
            case Choices::Receive:
                writeReceiveLine(node, event.receive(), eventStatement.assignmentList());
                break;
            case Choices::Otherwise:
                out.writeIndent();
                writePco(event.otherwise().identifier(), event.otherwise().is_present_identifier(),
                         "Ambiguous PCO in otherwise");
                out.write(".receive");
                endLine();
                break;
            case Choices::Timeout:
                out.writeIndent();
                writeTimeoutEvent(event.timeout());
                endLine();
                break;
            case Choices::Done:
                out.writeIndent();
                writeDoneEvent(event.done());
                endLine();
                break;
            default:
                XLATOR_INTERNAL_ERROR("Unexpected choice in GenerateBehaviour");
            }
        }
        break;
    default:
        XLATOR_ASSERT(false, "INTERNAL_ERROR: unexpected choice");
    }

    if (guardWritten && !blockOpen) {
        out.openBlock();
        blockOpen = true;
    }
    if (!eventStatement.isEmpty()) {
        if (!sendLine) writeAssignments(eventStatement.assignmentList());
        writeTimerOps(eventStatement.timerOps());
    }
    if (node.is_present_verdictId()) writeVerdict(node.verdictId().verdict());
    generateChildren(node.children(), active);
    if (breakAfter) writeTerminatingLine(false);
    if (blockOpen2) out.closeBlock(true);
    if (blockOpen) out.closeBlock(true);
}

// An assignment list turns the sent value into the message variable first,
// so that the assignments can change it before it is sent.
void XlatorVisitor::writeSendLine(const BehaviourLine& node, const Send& send, const AssignmentList& assignments) {
    XlatorOutput& out = output();
    bool assigns = assignments.size() > 0;
    if (node.is_present_cref() && assigns) {
        out.writeIndent();
        out.write(messageVariable(send.message_Id()) + " := valueof(");
        VisitConstraintReference(node.cref().constraintReference());
        out.write(")");
        endLine();
    }
    writeAssignments(assignments);
    out.writeIndent();
    writePco(send.pco_Id(), send.is_present_pco_Id(), "Ambiguous PCO in send");
    out.write(".send(");
    if (assigns)
        out.write(messageVariable(send.message_Id()));
    else if (node.is_present_cref())
        VisitConstraintReference(node.cref().constraintReference());
    else
        out.write(messageTypeName(send.message_Id()) + ":{}");
    out.write(")");
    endLine();
}

// An assignment list keeps the received value in the message variable, where
// the assignments (written inside the alternative) can read it.
void XlatorVisitor::writeReceiveLine(const BehaviourLine& node, const Receive& receive,
                                     const AssignmentList& assignments) {
    XlatorOutput& out = output();
    out.writeIndent();
    writePco(receive.pco_Id(), receive.is_present_pco_Id(), "Ambiguous PCO in receive");
    out.write(".receive(");
    if (node.is_present_cref())
        VisitConstraintReference(node.cref().constraintReference());
    else
        out.write(messageTypeName(receive.message_Id()) + ": ?");
    out.write(")");
    if (assignments.size() > 0) out.write(" -> value " + messageVariable(receive.message_Id()));
    endLine();
}

std::string XlatorVisitor::messageTypeName(const Identifier& messageId) {
    std::string name(messageId.text());
    auto alias = aliases_.find(name);
    if (alias != aliases_.end()) name = alias->second;
    if (gDefinitionCollector.existsTypeReference(name) && !name.empty())
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

std::string XlatorVisitor::messageVariable(const Identifier& messageId) { return "v_" + messageTypeName(messageId); }
