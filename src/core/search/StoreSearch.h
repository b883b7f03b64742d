#pragma once
// Finds the mails of a whole store that a query matches, folder by folder
// through the header cache.
//
// The folders are those of WalkStoreFolders from the root. Memory is bounded by the largest folder: a folder's titles go once its
// matches are taken. Nothing is written into the store.
#include "FindQuery.h"
#include "TextDecoder.h"
#include "Title.h"

#include <QByteArray>
#include <atomic>
#include <functional>

namespace wex {

class Coding;

class StoreSearch {
public:
    // The coding must outlive the search.
    StoreSearch(const Coding &coding, FindQuery query, bool useCache);

    // The matching titles, unsorted. *folders (when given) counts the folders
    // read; cancel (when given) stops the walk early, with what was found.
    TitleArray run(const QByteArray &root, const std::atomic<bool> *cancel = nullptr,
                   const std::function<void(int folders)> &progress = {});

private:
    void searchFolder(const QByteArray &folder, TitleArray &found);
    bool bodyMatches(const Title &title);

    const Coding &coding_;
    FindQuery query_;
    bool useCache_;
    TextDecoder decoder_; // for body words
};

} // namespace wex
