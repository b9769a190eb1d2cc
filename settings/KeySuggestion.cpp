#include "settings/KeySuggestion.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <numeric>
#include <optional>
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
std::size_t commonSuffix(std::string_view a, std::string_view b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

using Rank = std::tuple<bool, std::size_t, std::ptrdiff_t>; // smaller is nearer

// How near candidate is to typed (lowered as wanted), or nothing when it is not close enough.
std::optional<Rank> rank(std::string_view typed, const std::string& wanted,
                         std::string_view candidate) {
    const std::string key = AsciiLowered(candidate);
    const std::size_t shorter = std::min(wanted.size(), key.size());
    const std::size_t longer = std::max(wanted.size(), key.size());
    const bool contains = shorter * 2 >= longer && (key.find(wanted) != std::string::npos ||
                                                    wanted.find(key) != std::string::npos);
    const std::size_t distance = editDistance(wanted, key);
    if (!contains && distance > std::max<std::size_t>(1, wanted.size() / 3))
        return std::nullopt;
    return Rank{!contains, distance, -std::ptrdiff_t(commonSuffix(typed, candidate))};
}

} // namespace

const char* SuggestedName(std::string_view typed, std::span<const char* const> candidates) {
    std::size_t longest = 0;
    for (const char* candidate : candidates)
        longest = std::max(longest, std::strlen(candidate));
    if (typed.empty() || typed.size() > 2 * longest)
        return nullptr;
    const std::string wanted = AsciiLowered(typed);
    const char* best = nullptr;
    std::optional<Rank> bestRank;
    for (const char* candidate : candidates) {
        const auto r = rank(typed, wanted, candidate);
        if (r && (!bestRank || *r < *bestRank)) {
            best = candidate;
            bestRank = r;
        }
    }
    return best;
}

const SettingKey* SuggestedSettingKey(std::string_view typed) {
    std::vector<const char*> names;
    for (const SettingKey& key : SettingKeys())
        names.push_back(key.key);
    const char* name = SuggestedName(typed, names);
    return name ? FindSettingKey(name) : nullptr;
}
