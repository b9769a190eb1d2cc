#include "settings/KeySuggestion.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Typos sit in the middle more often than at the end, where "T" marks a substitute key.
std::ptrdiff_t commonSuffix(std::string_view a, std::string_view b) {
    std::ptrdiff_t n = 0;
    while (std::size_t(n) < a.size() && std::size_t(n) < b.size() &&
           a[a.size() - 1 - std::size_t(n)] == b[b.size() - 1 - std::size_t(n)])
        ++n;
    return n;
}

} // namespace

const SettingKey& NearestSettingKey(std::string_view name) {
    const std::string wanted = AsciiLowered(name);
    const auto rank = [&](const SettingKey& entry) {
        const std::string key = AsciiLowered(entry.key);
        const bool overlaps = !wanted.empty() && (key.find(wanted) != std::string::npos ||
                                                  wanted.find(key) != std::string::npos);
        return std::make_tuple(!overlaps, editDistance(wanted, key),
                               -commonSuffix(name, entry.key));
    };
    const auto keys = SettingKeys();
    return *std::min_element(
        keys.begin(), keys.end(),
        [&](const SettingKey& a, const SettingKey& b) { return rank(a) < rank(b); });
}
