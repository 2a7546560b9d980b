#pragma once
// Internal helpers of the data table unit: cutting texts into pieces, the cell-text
// conversion, number parsing and the guard that closes a bulk operation's update.

#include "core/text.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>

namespace qs_detail {

// Calls piece(UStringView) for every piece of text cut at sep, walking up to the first NUL.
// A trailing separator yields a last, empty piece; a text that starts with NUL (or is
// empty) yields none.
template <class F>
void ForEachPiece(UStringView text, char16_t sep, F&& piece) {
    const size_t end = std::min(text.find(u'\0'), text.size());
    if (end == 0) {
        return;
    }
    size_t start = 0;
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == sep) {
            piece(text.substr(start, i - start));
            start = i + 1;
        }
    }
    piece(text.substr(start, end - start));
}

// Stored form of a text written into a converted column: control characters become spaces
// (tab, line feed and carriage return survive when keepLineBreaks), "," becomes 26, "|"
// becomes 27; the text ends at its first NUL.
UString EncodeCellText(UStringView text, bool keepLineBreaks);
// The readable form of a converted column's stored text.
UString DecodeCellText(UStringView stored);

// A signed 32-bit decimal integer: optional sign, then digits only.
std::optional<std::int32_t> ParseInt32(UStringView text);

[[noreturn]] void ThrowListIndex(int index);

// Runs a bulk operation's closing EndUpdate on every path. While the operation is already
// failing, an error raised by the notification itself is dropped so the first error wins.
template <class End>
class EndUpdateGuard final {
public:
    explicit EndUpdateGuard(End end) : end_(std::move(end)), uncaught_(std::uncaught_exceptions()) {}
    EndUpdateGuard(const EndUpdateGuard&) = delete;
    EndUpdateGuard& operator=(const EndUpdateGuard&) = delete;
    ~EndUpdateGuard() noexcept(false) {
        if (std::uncaught_exceptions() > uncaught_) {
            try {
                end_();
            } catch (...) {
            }
        } else {
            end_();
        }
    }

private:
    End end_;
    int uncaught_;
};

} // namespace qs_detail
