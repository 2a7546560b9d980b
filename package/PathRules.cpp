#include "package/PathRules.h"

namespace {
bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Windows drops trailing dots and spaces of a path component, so ". ." or "..." may
// become "." or ".."; a component of only those characters is never legitimate.
bool IsDotsAndSpaces(UStringView component) {
    for (char16_t c : component) {
        if (c != u'.' && c != u' ') {
            return false;
        }
    }
    return true;
}

char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

UString WrittenName(const UString& column1) {
    const auto cut = column1.find_last_of(u"\\:");
    return cut == UString::npos ? column1 : column1.substr(cut + 1);
}

bool IsWritableName(const UString& name) {
    return !name.empty() && name.find(u'/') == UString::npos && !IsDotsAndSpaces(name);
}

bool IsSafeRelativeFolder(const UString& folder) {
    if (folder.empty()) {
        return true;
    }
    if (IsSeparator(folder.front()) || folder.find(u':') != UString::npos) {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i <= folder.size(); ++i) {
        if (i == folder.size() || IsSeparator(folder[i])) {
            const UStringView component(folder.data() + start, i - start);
            // Only the end after the final "\" may be empty; a doubled separator never is.
            if (component.empty() ? i != folder.size() : IsDotsAndSpaces(component)) {
                return false;
            }
            start = i + 1;
        }
    }
    return true;
}

UString ReplaceIgnoringCase(const UString& text, const UString& pattern, const UString& by) {
    if (pattern.empty()) {
        return text;
    }
    UString out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool match = i + pattern.size() <= text.size();
        for (std::size_t k = 0; match && k < pattern.size(); ++k) {
            match = LowerAscii(text[i + k]) == LowerAscii(pattern[k]);
        }
        if (match) {
            out += by;
            i += pattern.size();
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
    return out;
}

#include "package/PackageErrors.h"

TRowFolder ChooseRowFolder(const UString& column0, bool toDestination, const UString& destFolder,
                           const std::function<UString()>& systemDir) {
    if (toDestination) {
        return {destFolder, false};
    }
    if (column0.empty() || column0.front() != u'$') {
        if (!IsSafeRelativeFolder(column0)) {
            throw EPackageError("folder \"" + Utf16ToUtf8(column0) +
                                "\" leaves the destination folder");
        }
        return {destFolder + column0, false};
    }
    UString system = systemDir ? systemDir() : UString();
    if (system.empty()) {
        throw EPackageError("folder \"" + Utf16ToUtf8(column0) +
                            "\" is in the system folder, which is unknown");
    }
    if (system.back() != u'\\') {
        system.push_back(u'\\');
    }
    const bool systemForm = column0.find(u"System") != UString::npos;
    const UString folder = ReplaceIgnoringCase(column0, systemForm ? u"$System$" : u"$Third$", system);
    if (folder.compare(0, system.size(), system) != 0 ||
        !IsSafeRelativeFolder(folder.substr(system.size()))) {
        throw EPackageError("folder \"" + Utf16ToUtf8(column0) +
                            "\" is neither the system folder nor a folder below it");
    }
    return {folder, true};
}
