#include "host/psdriver/document.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <string_view>

#include "host/psdriver/dsc_reader.h"

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

// A comment that opens a part of the document ends its header, also when %%EndComments is missing.
bool EndsHeader(std::string_view comment) {
    return StartsWith(comment, "%%Begin") || StartsWith(comment, "%%Page:") ||
           StartsWith(comment, "%%Trailer") || StartsWith(comment, "%%EOF") ||
           StartsWith(comment, "%%IncludeResource:");
}

constexpr std::string_view UniversalExit = "\x1b%-12345X";
constexpr char EndOfJob = '\x04';

// Files printed to disk by other systems' drivers wrap the PostScript in a PJL job or start it
// with an end-of-job byte; the host writes a wrapper of its own.
std::string_view WithoutJobWrapper(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    while (!text.empty() && text.front() == EndOfJob) {
        text.remove_prefix(1);
    }
    if (text.starts_with(UniversalExit)) {
        const size_t start = text.find("\n%!");
        const size_t startAfterReturn = text.find("\r%!");
        const size_t found = std::min(start, startAfterReturn);
        text = found == std::string_view::npos ? std::string_view() : text.substr(found + 1);
    }
    return text;
}

// What follows the PostScript of a wrapped job.
bool EndsJob(std::string_view line) {
    return line.starts_with(UniversalExit) || line.starts_with(EndOfJob);
}

enum class Section { Header, Prolog, Setup, Page, Trailer, Ignored };

}  // namespace

Document Document::Generated(int pages, double width, double height) {
    Document document;
    for (int page = 1; page <= pages; ++page) {
        std::ostringstream code;
        code << "newpath 36 36 moveto " << width - 36 << " 36 lineto " << width - 36 << ' '
             << height - 36 << " lineto 36 " << height - 36
             << " lineto closepath 2 setlinewidth stroke\n"
             << "/Helvetica findfont 48 scalefont setfont\n"
             << "72 " << height - 144 << " moveto (Page " << page << " of " << pages << ") show\n";
        document.Pages.push_back(code.str());
    }
    return document;
}

std::variant<Document, std::string> Document::FromDsc(const std::string& file) {
    const std::string_view text = WithoutJobWrapper(file);
    if (!StartsWith(text, "%!")) {
        return std::string("not a PostScript document (it does not start with %!)");
    }
    DscReader reader(text);
    Document document;
    Section section = Section::Header;
    std::string* target = nullptr;
    int embedded = 0;  // depth of %%BeginDocument sections, whose comments are not ours
    while (std::optional<std::string_view> line = reader.NextLine()) {
        const std::string_view content = Trimmed(*line);
        const auto keep = [&](std::string_view bytes) {
            if (target != nullptr) {
                target->append(bytes);
            } else if (!Trimmed(bytes).empty()) {
                // Code between the sections belongs to the setup, so nothing of the document is
                // lost.
                document.Setup.append(bytes);
            }
        };
        if (embedded == 0 && EndsJob(*line)) {
            break;
        }
        if (!StartsWith(content, "%%")) {
            // Most lines are code, and only comments can be DSC markers; the first code line ends
            // the header.
            if (section == Section::Header) {
                if (content.empty() || content[0] == '%') {
                    continue;
                }
                section = Section::Ignored;
            }
            keep(*line);
            continue;
        }
        if (section == Section::Header) {
            if (StartsWith(content, "%%Title:")) {
                document.Title = std::string(Trimmed(content.substr(8)));
            }
            if (StartsWith(content, "%%EndComments")) {
                section = Section::Ignored;
                continue;
            }
            if (!EndsHeader(content)) {
                continue;
            }
            section = Section::Ignored;
        }
        if (std::optional<std::string_view> data = reader.DataAfter(content)) {
            // Binary or counted data is kept whole: its bytes may look like comments.
            keep(*line);
            keep(*data);
            continue;
        }
        if (StartsWith(content, "%%BeginDocument")) {
            ++embedded;
        } else if (StartsWith(content, "%%EndDocument") && embedded > 0) {
            --embedded;
            keep(*line);
            continue;
        }
        if (embedded > 0) {
            keep(*line);
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
        } else if (StartsWith(content, "%%BeginPageSetup") ||
                   StartsWith(content, "%%EndPageSetup") || StartsWith(content, "%%PageTrailer") ||
                   StartsWith(content, "%%Pages:")) {
            continue;
        } else {
            keep(*line);
        }
    }
    if (document.Pages.empty()) {
        return std::string("the document has no %%Page: sections");
    }
    return document;
}

}  // namespace host
