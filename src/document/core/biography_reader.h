// Reading a biography file back into the document.
//
// The reader finds values by plain substring search for the literal tags the
// writer produces; it is not an XML parser. Only the first occurrence of a
// tag counts, in the whole text or in one fact's text.
#pragma once

#include <string>
#include <string_view>

#include "document/core/biography_document.h"

// File bytes to text: every CR LF pair becomes LF; every other byte,
// a lone CR or a Ctrl-Z included, is kept.
std::string biographyTextFromBytes(const std::string &fileBytes);

// The bytes between the first startTag and the first endTag of `text`;
// empty when either is missing or the end tag does not lie beyond the start.
std::string extractBetween(const std::string &text, const std::string &startTag,
                           const std::string &endTag);

// Whether the text is a biography at all (holds <biography_data>).
bool isBiographyText(const std::string &text);

// Number of distinct fact numbers whose opening tag (<fact1>, <fact2>, ...,
// plain decimal, no leading zeros) occurs anywhere in the text.
int countFacts(const std::string &text);

// What did not fit into the document's fixed tables, and what of the
// file's text could not be read as it stands (told by the decoding).
struct LoadReport {
    bool entriesDropped = false;    // more than MaxEntries fact numbers
    bool categoriesDropped = false; // more than MaxCategories names
    bool charactersReplaced = false; // bytes that were no character, now U+FFFD
    std::string firstLost;          // UTF-8: the first character memory text lacks
};

// Replaces topic, entries and categories of the document with those of `text`
// (which must be biography text). Every fact number that occurs is read, in
// ascending order, the first MaxEntries of them; entries without a category
// get "Default"; the category list comes from <categories>, or from the
// entries when that names nothing. Sets documentLoaded; leaves path, modified
// and the window alone.
LoadReport loadBiographyText(const std::string &text);
class SingleByteTable;

// The same, straight from the file's bytes: the result is that of
// loadBiographyText(biographyTextFromBytes(fileBytes)). Given a table, the
// bytes are in its code page, and every value is converted to UTF-8.
LoadReport loadBiographyBytes(std::string_view fileBytes, const SingleByteTable *table = nullptr);
