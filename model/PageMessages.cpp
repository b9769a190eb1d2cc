#include "model/PageMessages.h"

#include "settings/SettingsFile.h"
#include "settings/WeaponTokens.h"

std::string FillPlaceholders(std::string_view text, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const std::size_t arg = std::size_t(text[i + 1] - '1');
            if (arg < args.size()) {
                out += args[arg];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string RangeRefusal(int minValue, int maxValue) {
    return FillPlaceholders(PageText::kRangeRefusal,
                            {std::to_string(minValue), std::to_string(maxValue)});
}

std::string ErrorReport(std::string_view text) {
    return FillPlaceholders(PageText::kErrorFormat, {std::string(text)});
}

std::string SaveFailureFor(std::string_view key) {
    // The weapon codec reports without the line break the other codecs add.
    if (IsWeaponKey(key))
        return PageText::kWeaponSaveFailure;
    return ErrorReport(PageText::kSaveFailureText);
}

std::string ShortenedValue(std::string_view text) {
    if (text.empty())
        return PageText::kEmptyValue;
    // Count characters, not bytes: a continuation byte (10xxxxxx) starts none.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (characters == PageText::kLongValueLimit)
            return std::string(text.substr(0, i)) + PageText::kLongValueEnd;
        ++characters;
    }
    return std::string(text);
}

std::string ConflictQuestion(const std::vector<SettingsSession::Conflict>& conflicts) {
    std::string list;
    for (const SettingsSession::Conflict& c : conflicts) {
        const std::string inFile =
            c.inFile ? FillPlaceholders(PageText::kConflictInFile, {ShortenedValue(*c.inFile)})
                     : std::string(PageText::kConflictNotInFile);
        list += FillPlaceholders(PageText::kConflictLine, {c.key, inFile, ShortenedValue(c.here)});
        list += '\n';
    }
    return FillPlaceholders(PageText::kConflictQuestion, {kSettingsFileName, list});
}
