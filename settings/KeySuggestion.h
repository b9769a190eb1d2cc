#pragma once

#include "settings/KeyTable.h"

#include <string_view>

// The known key a person most likely meant by name: one that contains it or is contained in it
// (ignoring case) before any other, then the fewest single-letter edits, then the longest
// common ending as written, then table order.
const SettingKey& NearestSettingKey(std::string_view name);
