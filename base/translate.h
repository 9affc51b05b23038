// The program's two languages. Chinese is the reference: every text is
// written in the sources in Chinese and shown as it stands. In English each
// text is looked up in a table that the build makes from
// translations/morsk_en.ts, without Qt, so that the command line and the
// window translate alike.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morsk {

enum class Language { Chinese, English };

void SetLanguage(Language language);
Language CurrentLanguage();

// The text in the current language. A status line made of several texts
// (a fixed text and a number, a name, a path) is translated part by part:
// first as a whole, then against the texts with printf conversions
// ("器件ID:%2.2X %2.2X %2.2X"), then every known text inside it. File
// paths and names are left as they are.
std::string Translate(std::string_view text);

// "zh" or "en"; nullopt for anything else.
std::optional<Language> ParseLanguage(std::string_view name);
const char* LanguageName(Language language);

// The language of a first start, without a stored choice: Chinese when the
// locale's language is Chinese or when there is no locale (unset, C or
// POSIX), English for any other. The arguments are LC_ALL, LC_MESSAGES and
// LANG, the first one set counting.
Language LanguageForLocale(const char* lcAll, const char* lcMessages, const char* lang);

struct TextPair {
    const char* chinese;
    const char* english;
};
extern const TextPair kEnglishTexts[];
extern const size_t kEnglishTextCount;

}  // namespace morsk
