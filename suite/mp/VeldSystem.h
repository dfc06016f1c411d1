// A system of documents: the documents of one suite (the root first) and the
// import graph between them.
#pragma once

#include "suite/LibraryError.h"
#include "suite/mp/Document.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class VeldSystem {
public:
    VeldSystem() = default;
    VeldSystem(const VeldSystem&) = delete;
    VeldSystem& operator=(const VeldSystem&) = delete;

    // Loads every file of the list, the first as the root document. Warnings
    // go to `log` (when not null). Stops at the first file that fails and
    // returns false with `error` set.
    bool load(const std::vector<std::string>& fileNames, std::FILE* log, LibraryError& error);
    // Loads from the opening's file list text: each name in double quotes and
    // followed by a blank. A name without its closing quote fails the loading.
    bool loadFromList(std::string_view fileList, std::FILE* log, LibraryError& error);
    // Adds an already loaded document (the first added is the root).
    void add(std::unique_ptr<Document> document);

    // The documents, the root first, in load order.
    const std::vector<std::unique_ptr<Document>>& documents() const { return documents_; }
    Document* root() const { return documents_.empty() ? nullptr : documents_.front().get(); }
    // The documents called `name` (usually one).
    std::vector<Document*> findAll(std::string_view name) const;
    // The single document called `name`; null when none or several.
    Document* find(std::string_view name) const;

    // Rebuilds the import graph and prints its findings on `report` (when not
    // null): missing and multiple sources, packages, circularity,
    // unreferenced documents, multiply imported objects.
    void rebuildImportGraph(std::FILE* report);

    // After rebuildImportGraph: the documents a document imports and those
    // that import it, and its level (root 0, -1 when not reached from the root).
    const std::vector<Document*>& importsOf(const Document* document) const;
    const std::vector<Document*>& importersOf(const Document* document) const;
    int level(const Document* document) const;

private:
    std::size_t indexOf(const Document* document) const;

    std::vector<std::unique_ptr<Document>> documents_;
    std::vector<std::vector<Document*>> imports_;
    std::vector<std::vector<Document*>> importers_;
    std::vector<int> levels_;
};
