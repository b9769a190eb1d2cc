#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splits a command given in an environment variable into argv words, without a shell:
// whitespace separates words; single or double quotes group text, spaces included, and are
// removed; quoted and unquoted parts that touch form one word. There are no escapes and no
// expansions. An unclosed quote gives no result.
std::optional<std::vector<std::string>> SplitCommandWords(std::string_view command);
