#include "suite/mp/VeldSystem.h"

#include "suite/mp/MpImport.h"

#include <map>
#include <string>

namespace {
const std::vector<Document*> kNone;
}

bool VeldSystem::load(const std::vector<std::string>& fileNames, std::FILE* log, LibraryError& error) {
    MpImportOptions options;
    options.log = log;
    for (const std::string& name : fileNames) {
        auto document = importMpFile(name, options, error);
        if (!document) return false;
        add(std::move(document));
    }
    return true;
}

bool VeldSystem::loadFromList(std::string_view fileList, std::FILE* log, LibraryError& error) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at < fileList.size()) {
        if (fileList[at] == ' ' || fileList[at] == '\t') {
            ++at;
            continue;
        }
        if (fileList[at] != '"') {
            setLibraryError(error, LibraryErrorCode::FileNotReadable, std::string(fileList.substr(at)), {}, "loadFromList",
                            __FILE__, __LINE__);
            return false;
        }
        std::size_t close = fileList.find('"', at + 1);
        if (close == std::string_view::npos) {
            setLibraryError(error, LibraryErrorCode::FileNotReadable, std::string(fileList.substr(at + 1)), {},
                            "loadFromList", __FILE__, __LINE__);
            return false;
        }
        names.emplace_back(fileList.substr(at + 1, close - at - 1));
        at = close + 1;
    }
    return load(names, log, error);
}

void VeldSystem::add(std::unique_ptr<Document> document) { documents_.push_back(std::move(document)); }

std::vector<Document*> VeldSystem::findAll(std::string_view name) const {
    std::vector<Document*> found;
    for (const auto& document : documents_)
        if (document->name() == name) found.push_back(document.get());
    return found;
}

Document* VeldSystem::find(std::string_view name) const {
    std::vector<Document*> found = findAll(name);
    return found.size() == 1 ? found.front() : nullptr;
}

std::size_t VeldSystem::indexOf(const Document* document) const {
    for (std::size_t i = 0; i < documents_.size(); ++i)
        if (documents_[i].get() == document) return i;
    return documents_.size();
}

const std::vector<Document*>& VeldSystem::importsOf(const Document* document) const {
    std::size_t i = indexOf(document);
    return i < imports_.size() ? imports_[i] : kNone;
}

const std::vector<Document*>& VeldSystem::importersOf(const Document* document) const {
    std::size_t i = indexOf(document);
    return i < importers_.size() ? importers_[i] : kNone;
}

int VeldSystem::level(const Document* document) const {
    std::size_t i = indexOf(document);
    return i < levels_.size() ? levels_[i] : -1;
}

void VeldSystem::rebuildImportGraph(std::FILE* report) {
    const std::size_t count = documents_.size();
    imports_.assign(count, {});
    importers_.assign(count, {});
    levels_.assign(count, -1);
    auto print = [report](const char* format, const std::string& a, const std::string& b = {}) {
        if (report) std::fprintf(report, format, a.c_str(), b.c_str());
    };

    // Links from the import tables.
    for (std::size_t i = 0; i < count; ++i) {
        Document* importer = documents_[i].get();
        std::string importerName(importer->name());
        for (std::string_view sourceName : importer->importedDocumentNames()) {
            std::string source(sourceName);
            std::vector<Document*> found = findAll(sourceName);
            if (found.empty()) {
                print("Could not find the document called %s (referenced from %s).\n", source, importerName);
                continue;
            }
            if (found.size() > 1) {
                print("Found multiple documents called %s (referenced from %s).\n", source, importerName);
                continue;
            }
            Document* target = found.front();
            if (target->type() == DocumentType::Package)
                print("This TTCN system includes the package document %s,\npackage documents are not really supported.\n",
                      source);
            bool known = false;
            for (Document* d : imports_[i]) known = known || d == target;
            if (known) continue;
            imports_[i].push_back(target);
            importers_[indexOf(target)].push_back(importer);
        }
    }

    // Levels from the root downwards: the longest import path from the root,
    // found by a depth-first walk that does not follow edges back into the path.
    if (count > 0) {
        std::vector<int> state(count, 0);  // 0 unvisited, 1 on the path, 2 done
        std::vector<std::pair<std::size_t, std::size_t>> backEdges;
        levels_[0] = 0;
        // Iterative walk: (document, next import to look at).
        std::vector<std::pair<std::size_t, std::size_t>> stack{{0, 0}};
        state[0] = 1;
        // Longest paths need a topological order; the walk gives one in reverse.
        std::vector<std::size_t> finished;
        while (!stack.empty()) {
            auto& [doc, next] = stack.back();
            if (next < imports_[doc].size()) {
                std::size_t target = indexOf(imports_[doc][next++]);
                if (state[target] == 1) backEdges.emplace_back(doc, target);
                else if (state[target] == 0) {
                    state[target] = 1;
                    stack.emplace_back(target, 0);
                }
            } else {
                state[doc] = 2;
                finished.push_back(doc);
                stack.pop_back();
            }
        }
        for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
            std::size_t doc = *it;
            if (levels_[doc] < 0) continue;
            for (Document* imported : imports_[doc]) {
                std::size_t target = indexOf(imported);
                bool back = false;
                for (const auto& edge : backEdges) back = back || (edge.first == doc && edge.second == target);
                if (!back && levels_[target] < levels_[doc] + 1) levels_[target] = levels_[doc] + 1;
            }
        }
    }
    // A document imports one whose level is not below its own: a cycle.
    for (std::size_t i = 0; i < count; ++i) {
        if (levels_[i] < 0) continue;
        for (Document* imported : imports_[i]) {
            std::size_t target = indexOf(imported);
            if (levels_[target] <= levels_[i])
                print("Found circularity in %s and %s.\n", std::string(documents_[i]->name()),
                      std::string(imported->name()));
        }
    }
    for (std::size_t i = 1; i < count; ++i)
        if (documents_[i]->type() != DocumentType::FlatView && importers_[i].empty())
            print("Found unreferenced document %s.\n", std::string(documents_[i]->name()));

    // Objects imported twice into one document.
    for (std::size_t i = 0; i < count; ++i) {
        std::map<std::string_view, int> seen;
        const SuiteNode* part = documents_[i]->part(SuiteNodeType::ImportPart);
        if (!part) continue;
        for (const SuiteNode* table : part->children)
            for (const SuiteNode* row : table->rows) {
                std::string_view object = row->text("ObjectName");
                if (!object.empty() && ++seen[object] == 2)
                    print("Found multiply imported %s in %s.\n", std::string(object),
                          std::string(documents_[i]->name()));
            }
    }
}
