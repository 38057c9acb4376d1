// The interface languages. Their values are the language numbers the settings file stores and
// the text data file's columns: 0 English, 1 German, 2 French.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace daybridge {

enum class Language : std::int16_t { English = 0, German = 1, French = 2 };

inline constexpr Language kEnglish = Language::English;
inline constexpr Language kGerman = Language::German;
inline constexpr Language kFrench = Language::French;

// Every interface language, in the order of their numbers (and of the language list).
inline constexpr std::array<Language, 3> kLanguages = {kEnglish, kGerman, kFrench};

// The stored number of a language, and the language of a stored number (none for a number no
// language has).
constexpr int LanguageNumber(Language language) {
    return static_cast<int>(language);
}
constexpr std::optional<Language> LanguageOfNumber(long long number) {
    for (const Language language : kLanguages) {
        if (number == LanguageNumber(language)) {
            return language;
        }
    }
    return std::nullopt;
}

}  // namespace daybridge
