// What an application hands the host driver to print: either a DSC PostScript file, split into
// its prolog, setup, pages and trailer by its DSC comments, or a generated document of simple
// numbered pages.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace host {

struct Document {
    std::string Title;  // empty: the job's document name stands in
    std::string Prolog;  // the document's own procedures, without the DSC markers
    std::string Setup;
    std::vector<std::string> Pages;  // each page's marking code, without its showpage
    std::string Trailer;

    // A document of `pages` pages, each saying its number, for a page of the given size.
    static Document Generated(int pages, double width, double height);

    // Parses DSC PostScript, leaving out a PJL job wrapper around it; a text that is not
    // PostScript or has no pages is refused.
    static std::variant<Document, std::string> FromDsc(const std::string& text);
};

}  // namespace host
