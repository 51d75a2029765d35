// Windows-style file names inside the machine root. Windows names ignore case and Linux names do
// not, so each part is matched against what exists without regard to case.
#include <unicode/stringoptions.h>
#include <unicode/ustring.h>

#include <vector>

#include "host/system/machine.h"
#include "host/system/machine_state.h"
#include "host/system/utf.h"

namespace host {

namespace {

std::vector<std::u16string> SplitParts(std::u16string_view path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (const char16_t c : path) {
        if (c == u'\\' || c == u'/') {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    return u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                            static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status) == 0 &&
           U_SUCCESS(status);
}

// The existing entry of the folder with this name in any case, else the name as given.
std::filesystem::path MatchPart(const std::filesystem::path& folder, const std::u16string& part) {
    const std::string name = ToUtf8(part);
    std::error_code error;
    if (std::filesystem::exists(folder / name, error)) {
        return folder / name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const auto entryName = FromUtf8(entry.path().filename().string());
        if (entryName && SameIgnoringCase(*entryName, part)) {
            return entry.path();
        }
    }
    return folder / name;
}

// Appends parts below base; "." stays, ".." goes up but never above base.
std::filesystem::path Below(const std::filesystem::path& base,
                            const std::vector<std::u16string>& parts, size_t first) {
    std::vector<std::u16string> kept;
    for (size_t i = first; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i] == u".") {
            continue;
        }
        if (parts[i] == u"..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(parts[i]);
    }
    std::filesystem::path result = base;
    for (const auto& part : kept) {
        result = MatchPart(result, part);
    }
    return result;
}

bool IsDriveLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

}  // namespace

std::filesystem::path MapPath(std::u16string_view path) {
    if (path.empty()) {
        return {};
    }
    if (path[0] == u'/') {
        return ToUtf8(path);
    }
    const std::filesystem::path root = MachineState::Instance().Root();
    const bool hasDrive = path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':';
    const bool isUnc =
        path.size() >= 2 && path[0] == u'\\' && (path[1] == u'\\' || path[1] == u'/');
    if (!hasDrive && !isUnc && path[0] != u'\\') {
        // Relative to the current folder, as on the host.
        std::filesystem::path relative;
        for (const auto& part : SplitParts(path)) {
            if (!part.empty()) {
                relative /= ToUtf8(part);
            }
        }
        return relative;
    }
    if (root.empty()) {
        return {};
    }
    if (isUnc) {
        return Below(root / "unc", SplitParts(path.substr(2)), 0);
    }
    const char16_t drive = hasDrive ? path[0] : u'C';
    const char folder[2] = {static_cast<char>(drive >= u'A' && drive <= u'Z' ? drive + 32 : drive),
                            '\0'};
    return Below(root / folder, SplitParts(hasDrive ? path.substr(2) : path), 0);
}

}  // namespace host
