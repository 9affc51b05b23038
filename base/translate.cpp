#include "translate.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <regex>
#include <vector>

namespace morsk {
namespace {

std::atomic<Language> gLanguage{Language::Chinese};

struct Pattern {
    std::regex match;
    std::string english;  // with its conversions, in the same order
};

struct Tables {
    std::map<std::string, std::string, std::less<>> exact;
    std::vector<Pattern> patterns;
    std::vector<std::pair<std::string, std::string>> parts;  // longest first
};

// A printf conversion: %s, %d, %u, %X, %02X, %2.2X, %llu, %lld, %08X.
const std::regex kConversion(R"(%[-0-9.]*(?:ll|l)?[sdiuxX])");

std::string EscapeRegex(const std::string& text)
{
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(text, special, R"(\$&)");
}

const Tables& BuildTables()
{
    static const Tables tables = [] {
        Tables t;
        for (size_t i = 0; i < kEnglishTextCount; ++i) {
            const std::string zh = kEnglishTexts[i].chinese;
            const std::string en = kEnglishTexts[i].english;
            t.exact.emplace(zh, en);
            if (std::regex_search(zh, kConversion) && zh.find("%1") == std::string::npos) {
                // Each conversion becomes a capture, the rest must match.
                std::string expression;
                std::sregex_token_iterator it(zh.begin(), zh.end(), kConversion, {-1, 0}), end;
                for (bool literal = true; it != end; ++it, literal = !literal)
                    expression += literal ? EscapeRegex(*it) : "(.*?)";
                t.patterns.push_back({std::regex("^" + expression + "$"), en});
            } else if (zh.find('%') == std::string::npos) {
                t.parts.emplace_back(zh, en);
            }
        }
        std::stable_sort(t.parts.begin(), t.parts.end(),
                         [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
        return t;
    }();
    return tables;
}

// Every known text inside `text`, longest first at each place; what is
// not known (numbers, names, a path) is kept.
std::string TranslateParts(std::string_view text, const Tables& t)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        // A path or a file name goes through untouched.
        if (text[i] == '/' && (i == 0 || text[i - 1] == ' ')) {
            const size_t end = text.find(' ', i);
            const size_t stop = end == std::string_view::npos ? text.size() : end;
            out.append(text.substr(i, stop - i));
            i = stop;
            continue;
        }
        const auto part = std::find_if(t.parts.begin(), t.parts.end(),
                                       [&](const auto& p) { return text.substr(i, p.first.size()) == p.first; });
        if (part != t.parts.end()) {
            out += part->second;
            i += part->first.size();
            continue;
        }
        out += text[i++];
    }
    return out;
}

std::string TranslateCapture(const std::string& capture, const Tables& t)
{
    if (const auto it = t.exact.find(capture); it != t.exact.end())
        return it->second;
    // Lists of chips: "ATMEL/ATMEGA8、ATMEL/ATMEGA8L".
    std::string out;
    for (size_t i = 0; i < capture.size();) {
        if (capture.compare(i, 3, "、") == 0) {
            out += ", ";
            i += 3;
        } else {
            out += capture[i++];
        }
    }
    return out;
}

}  // namespace

void SetLanguage(Language language)
{
    gLanguage.store(language);
}

Language CurrentLanguage()
{
    return gLanguage.load();
}

std::string Translate(std::string_view text)
{
    if (CurrentLanguage() == Language::Chinese)
        return std::string(text);
    const Tables& t = BuildTables();
    if (const auto it = t.exact.find(text); it != t.exact.end())
        return it->second;
    const std::string whole(text);
    for (const Pattern& p : t.patterns) {
        std::smatch m;
        if (!std::regex_match(whole, m, p.match))
            continue;
        std::string out;
        size_t capture = 1;
        std::sregex_token_iterator it(p.english.begin(), p.english.end(), kConversion, {-1, 0}), end;
        for (bool literal = true; it != end; ++it, literal = !literal)
            out += literal ? it->str() : capture < m.size() ? TranslateCapture(m[capture++].str(), t) : std::string();
        return out;
    }
    return TranslateParts(text, t);
}

std::optional<Language> ParseLanguage(std::string_view name)
{
    if (name == "zh")
        return Language::Chinese;
    if (name == "en")
        return Language::English;
    return std::nullopt;
}

const char* LanguageName(Language language)
{
    return language == Language::Chinese ? "zh" : "en";
}

Language LanguageForLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    const char* locale = nullptr;
    for (const char* v : {lcAll, lcMessages, lang})
        if (v && *v) {
            locale = v;
            break;
        }
    if (!locale)
        return Language::Chinese;
    const std::string_view l(locale);
    if (l == "C" || l == "POSIX" || l.rfind("C.", 0) == 0 || l.rfind("zh", 0) == 0)
        return Language::Chinese;
    return Language::English;
}

}  // namespace morsk
