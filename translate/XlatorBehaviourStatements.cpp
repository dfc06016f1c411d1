// The events, statements and constructs of behaviour lines: PCOs, timeouts,
// DONE, assignments, timer operations, verdicts, labels, GOTO, attaches and
// their calls, REPEAT, RETURN, ACTIVATE and CREATE. Each writes its text at
// the current position; the line generator ends the lines.
#include "translate/XlatorVisitor.h"

#include "front/Fatal.h"
#include "front/XlatorOutput.h"
#include "translate/XlatorDefinitionCollector.h"
#include "translate/XlatorUtility.h"

#include <set>
#include <string>

namespace {

void endLine() { output().startLine(); }

// The parameter names of a formal parameter list, in order.
std::vector<std::string> parameterNames(const FormalParList& list) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < list.size(); ++i) {
        FormalParIdList ids = list.formalParAndType(i).formalParIdList();
        for (int32_t j = 0; j < ids.size(); ++j) names.emplace_back(ids.identifier(j).text());
    }
    return names;
}

// The formal parameters of the table being translated (a test case has none).
FormalParList ownerParameters() {
    if (const TestStep* testStep = gpRootBehaviour->getTestStep())
        return testStep->testStepId().testStepIdAndParList().formalParList();
    if (const DefaultCase* defaultCase = gpRootBehaviour->getDefaultCase())
        return defaultCase->defaultId().defaultIdAndParList().formalParList();
    return FormalParList();
}

// The local tree of the current table called `name`, when it has one.
bool isLocalTreeOfTable(const std::string& name) {
    LocalTreeList trees = getLocalTreeList(*gpRootBehaviour);
    for (int32_t i = 0; i < trees.size(); ++i) {
        LocalTree tree = trees.localTree(i);
        if (tree.is_present_header() && tree.header().treeHeader().identifier().text() == name) return true;
    }
    return false;
}

}  // namespace

void XlatorVisitor::VisitEventStatement(const EventStatement&) {
    XLATOR_ASSERT(false, "INTERNAL_ERROR: in VisitEventStatement");
}

void XlatorVisitor::VisitCreateTComp(const CreateTComp&) { XLATOR_INTERNAL_ERROR("in VisitCreateTComp"); }

void XlatorVisitor::VisitCreateAttach(const CreateAttach&) {
    XLATOR_ASSERT(false, "INTERNAL_ERROR: in VisitCreateAttach");
}

// An event without PCO is taken at the suite's only PCO.
void XlatorVisitor::writePco(const Identifier& pco, bool named, const char* ambiguity) {
    if (named) {
        VisitIdentifier(pco);
        return;
    }
    std::map<std::string, std::string> PCOs = gDefinitionCollector.getPCOs();
    XLATOR_ASSERT(PCOs.size() == 1, ambiguity);
    output().write(PCOs.begin()->first);
}

void XlatorVisitor::writeTimeoutEvent(const Timeout& timeout) {
    if (timeout.is_present_identifier())
        VisitIdentifier(timeout.identifier());
    else
        output().write("any timer");
    output().write(".timeout");
}

void XlatorVisitor::writeDoneEvent(const Done& done) {
    TCompIdList components = done.tcompIdList();
    if (components.size() == 1) {
        VisitIdentifier(components.identifier(0));
        output().write(".done");
        return;
    }
    if (components.size() > 1) output().todo("'done' for a list of components is generated into 'all component.done'");
    output().write("all component.done");
}

void XlatorVisitor::writeAssignments(const AssignmentList& assignments) {
    for (int32_t i = 0; i < assignments.size(); ++i) {
        Assignment assignment = assignments.assignment(i);
        output().writeIndent();
        VisitDataObjectReference(assignment.dataObjectReference());
        output().write(" := ");
        VisitExpression(assignment.expression());
        endLine();
    }
}

void XlatorVisitor::writeTimerOps(const TimerOps& timerOps) {
    XlatorOutput& out = output();
    for (int32_t i = 0; i < timerOps.size(); ++i) {
        TimerOp op = timerOps.timerOp(i);
        out.writeIndent();
        switch (op.choice()) {
        case Choices::StartTimer: {
            StartTimer start = op.startTimer();
            VisitIdentifier(start.identifier());
            out.write(".start");
            if (start.is_present_timerValue()) {
                out.write("(");
                VisitExpression(start.timerValue().expression());
                out.write(")");
            }
            break;
        }
        case Choices::CancelTimer: {
            CancelTimer cancel = op.cancelTimer();
            if (cancel.is_present_identifier())
                VisitIdentifier(cancel.identifier());
            else
                out.write("all timer");
            out.write(".stop");
            break;
        }
        case Choices::ReadTimer: {
            ReadTimer read = op.readTimer();
            VisitDataObjectReference(read.dataObjectReference());
            out.write(" := ");
            VisitIdentifier(read.identifier());
            out.write(".read");
            break;
        }
        default:
            break;
        }
        endLine();
    }
}

// A final verdict ends the test component; a preliminary one only sets it.
void XlatorVisitor::writeVerdict(const Verdict& verdict) {
    XlatorOutput& out = output();
    switch (verdict.choice()) {
    case Choices::Pass:
        out.writeLine("setverdict(pass)");
        if (verdict.pass().choice() == Choices::PASS) out.writeFinalLine("stop");
        break;
    case Choices::Fail:
        out.writeLine("setverdict(fail)");
        if (verdict.fail().choice() == Choices::FAIL) out.writeFinalLine("stop");
        break;
    case Choices::Inconclusive:
        out.writeLine("setverdict(inconc)");
        if (verdict.inconclusive().choice() == Choices::INCONC) out.writeFinalLine("stop");
        break;
    case Choices::Result:
        out.writeLine("setverdict(getverdict)");
        out.writeFinalLine("stop");
        break;
    default:
        break;
    }
}

void XlatorVisitor::writeLabel(const Label& label) {
    output().writeIndent();
    output().write("label ");
    VisitIdentifier(label.identifier());
    endLine();
}

void XlatorVisitor::writeConstruct(const Construct& construct) {
    XlatorOutput& out = output();
    switch (construct.choice()) {
    case Choices::Attach:
        writeAttachCall(construct.attach());
        break;
    case Choices::GoTo:
        out.write("goto ");
        VisitIdentifier(construct.goTo().label().identifier());
        break;
    case Choices::Repeat: {
        Repeat repeat = construct.repeat();
        out.writeLine("do");
        out.openBlock();
        out.writeIndent();
        writeAttachCall(repeat.attach());
        endLine();
        out.closeBlock(true);
        out.write("while(");
        VisitExpression(repeat.qualifier().expression());
        out.write(")");
        break;
    }
    case Choices::RETURN_:
        out.todo("'repeat' statement (generated from 'RETURN') will work correctly only when used inside top "
                 "alternatives");
        out.write("repeat");
        break;
    case Choices::Activate: {
        DefaultRefList defaults = construct.activate().defaultRefList();
        if (defaults.size() == 0) {
            out.todo("'deactivate' may not work properly since activation of defaults is not supported");
            out.write("deactivate");
            break;
        }
        out.todo("'activate' may not work properly since activation of defaults is not supported");
        for (int32_t i = 0; i < defaults.size(); ++i) {
            out.writeIndent();
            out.write("activate(");
            writeDefaultReference(defaults.defaultReference(i));
            out.write(")");
            endLine();
        }
        break;
    }
    case Choices::Create:
        writeCreate(construct.create());
        break;
    default:
        break;
    }
}

// A test step is called by its id; a local tree by its generated name, with
// the owner's parameters passed through after the actual ones (renamed where
// the calling local tree received them under "_FROM_ROOT").
void XlatorVisitor::writeAttachCall(const Attach& attach) {
    XlatorOutput& out = output();
    AttachedTree tree = attachedTree(attach);
    std::string name(attach.treeReference().identifier().text());
    if (!tree.testStep.isEmpty()) {
        out.write(name + "(");
        writeActualParameters(attach.actualParList(), AccessNode(tree.testStep));
        out.write(")");
        return;
    }
    out.write(getId() + "_LocalTree_" + name + "(");
    writeActualParameters(attach.actualParList(), AccessNode(tree.localTree));
    std::vector<std::string> passed = parameterNames(ownerParameters());
    if (!passed.empty()) {
        std::set<std::string> callerOwn;
        if (gpRootBehaviour->currentLocalTree != -1) {
            LocalTree caller = getLocalTreeList(*gpRootBehaviour).localTree(gpRootBehaviour->currentLocalTree);
            for (const std::string& own : parameterNames(caller.header().treeHeader().formalParList()))
                callerOwn.insert(own);
        }
        if (attach.actualParList().size() > 0) out.write(", ");
        for (std::size_t i = 0; i < passed.size(); ++i) {
            if (i > 0) out.write(", ");
            out.write(callerOwn.count(passed[i]) ? passed[i] + "_FROM_ROOT" : passed[i]);
        }
    }
    out.write(")");
}

// The values of an actual parameter list, each written with the type of the
// called definition's formal parameter (the value writer reads the
// definition from the top of the type context).
void XlatorVisitor::writeActualParameters(const ActualParList& parameters, const AccessNode& definition) {
    if (parameters.size() == 0) return;
    pushTypeContext(definition);
    VisitActualParList(parameters);
    popTypeContext();
}

// A default is always referenced with its parameter list, empty or not.
void XlatorVisitor::writeDefaultReference(const DefaultReference& reference) {
    std::string id(reference.identifier().text());
    AccessNode definition;
    if (gDefinitionCollector.existsDefault(id)) definition = AccessNode(gDefinitionCollector.getDefaultById(id));
    VisitIdentifier(reference.identifier());
    output().write("(");
    writeActualParameters(reference.actualParList(), definition);
    output().write(")");
}

// Each created component starts the envelope of its tree: a local tree of
// this table, else a test step.
void XlatorVisitor::writeCreate(const Create& create) {
    XLATOR_ASSERT(gpRootBehaviour != NULL, "Unable to determine behaviour context in VisitCreateTComp");
    XlatorOutput& out = output();
    CreateList list = create.createList();
    for (int32_t i = 0; i < list.size(); ++i) {
        CreateTComp component = list.createTComp(i);
        CreateAttach attach = component.createAttach();
        std::string name(attach.treeReference().identifier().text());
        out.writeIndent();
        VisitIdentifier(component.identifier());
        out.write(".start(");
        AccessNode definition;
        if (isLocalTreeOfTable(name)) {
            definition = AccessNode(findLocalTree(name));
            out.write(getId() + "_LocalTree_" + name + "_PTC(");
        } else {
            if (gDefinitionCollector.existsTestStep(name))
                definition = AccessNode(gDefinitionCollector.getTestStepById(name));
            out.write(name + "_PTC(");
        }
        writeActualParameters(attach.actualParList(), definition);
        out.write("))");
        endLine();
    }
}
