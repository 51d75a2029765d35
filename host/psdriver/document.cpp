#include "host/psdriver/document.h"

#include <sstream>
#include <string_view>

namespace host {

namespace {

bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The host ends every page itself, so a page's own final showpage is taken off.
std::string WithoutFinalShowpage(std::string page) {
    const std::string_view content = Trimmed(page);
    constexpr std::string_view showpage = "showpage";
    if (content.size() >= showpage.size() &&
        content.substr(content.size() - showpage.size()) == showpage) {
        const size_t at = page.rfind(showpage);
        page.erase(at, showpage.size());
    }
    return page;
}

enum class Section { Header, Prolog, Setup, Page, Trailer, Ignored };

}  // namespace

Document Document::Generated(int pages, double width, double height) {
    Document document;
    for (int page = 1; page <= pages; ++page) {
        std::ostringstream code;
        code << "newpath 36 36 moveto " << width - 36 << " 36 lineto " << width - 36 << ' '
             << height - 36 << " lineto 36 " << height - 36 << " lineto closepath 2 setlinewidth stroke\n"
             << "/Helvetica findfont 48 scalefont setfont\n"
             << "72 " << height - 144 << " moveto (Page " << page << " of " << pages << ") show\n";
        document.Pages.push_back(code.str());
    }
    return document;
}

std::variant<Document, std::string> Document::FromDsc(const std::string& text) {
    if (!StartsWith(text, "%!")) {
        return std::string("not a PostScript document (it does not start with %!)");
    }
    Document document;
    Section section = Section::Header;
    std::string* target = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        start = end;
        const std::string_view content = Trimmed(line);
        if (section == Section::Header) {
            if (StartsWith(content, "%%Title:")) {
                document.Title = std::string(Trimmed(content.substr(8)));
            }
            if (StartsWith(content, "%%EndComments")) {
                section = Section::Ignored;
                continue;
            }
            if (content.empty() || content[0] == '%') {
                continue;
            }
            section = Section::Ignored;  // the first line of code ends the header
        }
        const auto keep = [&] {
            if (target != nullptr) {
                target->append(line);
            } else if (section == Section::Ignored && !content.empty()) {
                // Code between the sections belongs to the setup, so nothing of the document is lost.
                document.Setup.append(line);
            }
        };
        if (!StartsWith(content, "%%")) {
            // Most lines are code, and only comments can be DSC markers.
            keep();
            continue;
        }
        if (StartsWith(content, "%%BeginProlog")) {
            section = Section::Prolog;
            target = &document.Prolog;
        } else if (StartsWith(content, "%%EndProlog") || StartsWith(content, "%%EndSetup")) {
            section = Section::Ignored;
            target = nullptr;
        } else if (StartsWith(content, "%%BeginSetup")) {
            section = Section::Setup;
            target = &document.Setup;
        } else if (StartsWith(content, "%%Page:")) {
            section = Section::Page;
            document.Pages.emplace_back();
            target = &document.Pages.back();
        } else if (StartsWith(content, "%%Trailer")) {
            section = Section::Trailer;
            target = &document.Trailer;
        } else if (StartsWith(content, "%%EOF")) {
            break;
        } else if (StartsWith(content, "%%BeginPageSetup") || StartsWith(content, "%%EndPageSetup") ||
                   StartsWith(content, "%%PageTrailer") || StartsWith(content, "%%Pages:")) {
            continue;
        } else {
            keep();
        }
    }
    if (document.Pages.empty()) {
        return std::string("the document has no %%Page: sections");
    }
    for (std::string& page : document.Pages) {
        page = WithoutFinalShowpage(std::move(page));
    }
    return document;
}

}  // namespace host
