#pragma once
// The messages that the plain C++ cores build for the user, in the user's language. The cores stay
// free of Qt: they call translated(context, source) on their French source text, which returns the
// source itself until the program installs its translator at start-up (the Qt application routes it
// to QCoreApplication::translate). `lupdate -tr-function-alias translate+=translated` collects the
// calls (scripts/lupdate.sh). Texts with variable parts carry %1…%9 placeholders, filled by
// withArgs, so that a translation may put them in another order.
#include <atomic>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pendulab {

using Translator = std::string (*)(const char* context, const char* source);

// The translator in force (null: the French source texts). Set once at start-up, read from any thread.
inline std::atomic<Translator>& textTranslator()
{
    static std::atomic<Translator> current{nullptr};
    return current;
}

inline void setTextTranslator(Translator t) { textTranslator().store(t); }

// `source` (UTF-8, a literal: lupdate reads it) in the user's language.
inline std::string translated(const char* context, const char* source)
{
    const Translator t = textTranslator().load();
    return t ? t(context, source) : std::string(source);
}

// `pattern` with %1 … %9 replaced by the values in order, in one pass: a value that itself holds
// "%2" is left as it is. A placeholder without a value, and any other '%', stay as written.
inline std::string withArgs(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string out;
    out.reserve(pattern.size() + 32);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < values.size()) {
                out += *(values.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// `s` without the spaces, tabs and line ends around it.
inline std::string trimmedText(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t first = 0, last = s.size();
    while (first < last && blank(s[first])) ++first;
    while (last > first && blank(s[last - 1])) --last;
    return std::string(s.substr(first, last - first));
}

// Characters, not bytes, of UTF-8 text.
inline std::size_t characterCount(std::string_view s)
{
    std::size_t n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

} // namespace pendulab
