// Cell-text conversion, number parsing and writing a table back as table text.
#include "package/QsDataTable.h"

#include "core/exceptions.h"
#include "package/QsDataTable_detail.h"

#include <string>

namespace qs_detail {

namespace {
constexpr char16_t kStoredComma = 26;
constexpr char16_t kStoredBar = 27;
} // namespace

UString EncodeCellText(UStringView text, bool keepLineBreaks) {
    const size_t end = std::min(text.find(u'\0'), text.size());
    UString out(text.substr(0, end));
    for (char16_t& c : out) {
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            if (!keepLineBreaks) {
                c = u' ';
            }
        } else if (c == u',') {
            c = kStoredComma;
        } else if (c == u'|') {
            c = kStoredBar;
        } else if (c < 32) {
            c = u' ';
        }
    }
    return out;
}

UString DecodeCellText(UStringView stored) {
    UString out(stored);
    for (char16_t& c : out) {
        if (c == kStoredComma) {
            c = u',';
        } else if (c == kStoredBar) {
            c = u'|';
        }
    }
    return out;
}

std::optional<std::int32_t> ParseInt32(UStringView text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // Accumulated as a negative number, whose range includes -2^31.
    constexpr std::int64_t kLimit = 2147483648LL;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == kLimit) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

void ThrowListIndex(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace qs_detail

namespace {
[[noreturn]] void ThrowUnwritable(const char* why) {
    throw EConvertError(std::string("The table cannot be written as table text: ") + why);
}

// Appends the row's stored texts joined by ",". Row cells must not hold "|", which ends a
// row; header cells may, but must not hold "#", which ends the header.
void AppendRow(UString& out, const TRow& row, bool header) {
    if (row.ItemCount() == 0) {
        ThrowUnwritable("a row without cells");
    }
    const UStringView forbidden = header ? UStringView(u",#\0", 3) : UStringView(u",|\0", 3);
    for (int i = 0; i < row.ItemCount(); ++i) {
        const UString& text = row.Items(i).StoredText();
        if (text.find_first_of(forbidden) != UString::npos) {
            ThrowUnwritable(header ? "a property cell holding \",\", \"#\" or NUL"
                                   : "a cell holding \",\", \"|\" or NUL");
        }
        if (i > 0) {
            out.push_back(u',');
        }
        out += text;
    }
}

bool IsFreshPropertyRow(const TRow& row) {
    if (row.ItemCount() != 10) {
        return false;
    }
    for (int i = 0; i < row.ItemCount(); ++i) {
        if (!row.Items(i).StoredText().empty()) {
            return false;
        }
    }
    return true;
}
} // namespace

UString TDataTable::ToText() const {
    UString rows;
    for (int i = 0; i < ItemCount(); ++i) {
        if (i > 0) {
            rows.push_back(u'|');
        }
        AppendRow(rows, Items(i), false);
    }
    // Without a header Init leaves the property row alone, which reproduces only a fresh
    // one; an empty table needs the header to say "no rows"; and rows starting with "#"
    // could be taken for a header.
    const bool header = !IsFreshPropertyRow(PropertyRow()) || ItemCount() == 0 ||
                        (!rows.empty() && rows.front() == u'#');
    if (!header) {
        return rows;
    }
    if (ItemCount() > 0 && rows.empty()) {
        ThrowUnwritable("a property header followed by a single empty row");
    }
    UString out(1, u'#');
    AppendRow(out, PropertyRow(), true);
    out.push_back(u'#');
    out += rows;
    return out;
}
