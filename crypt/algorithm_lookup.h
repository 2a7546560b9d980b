#pragma once
// Name lookup over the algorithm tables of crypt/algorithms.h.

#include <span>
#include <string_view>

namespace algorithm_lookup {

inline bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

template <typename Info>
const Info* FindByName(std::span<const Info> table, std::string_view name) {
    for (const Info& info : table) {
        if (SameNameIgnoringCase(info.Name, name)) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace algorithm_lookup
