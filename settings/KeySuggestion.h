#pragma once

#include "settings/KeyTable.h"

#include <span>
#include <string_view>

// The name among candidates a person most likely meant by typed, ignoring ASCII case, or nullptr
// when none is close enough to be worth suggesting. Close enough: one contains the other and the
// shorter is at least half as long as the longer, or at most a third of typed's letters (at least
// one) must change. Among those: containment first, then the fewest single-letter edits, then the
// longest common ending as written, then candidate order. A name more than twice as long as the
// longest candidate is never close, so an absurd name costs no more than a short one.
const char* SuggestedName(std::string_view typed, std::span<const char* const> candidates);

// The same over the keys of the table.
const SettingKey* SuggestedSettingKey(std::string_view typed);
