#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zevko::cli {

// The text without blanks (spaces, tabs) at either end.
inline std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// ASCII comparison without regard to case.
inline bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// One of the words a column accepts and what it means.
template <typename Value>
struct Keyword {
    const char* Word;
    Value Meaning;
};

// The meaning of the word `text` holds (blanks around it and case ignored).
template <typename Value, std::size_t Count>
std::optional<Value> ReadKeyword(std::string_view text, const Keyword<Value> (&words)[Count])
{
    text = Trimmed(text);
    for (const Keyword<Value>& word : words) {
        if (EqualIgnoringCase(text, word.Word)) {
            return word.Meaning;
        }
    }
    return std::nullopt;
}

// The accepted words for an error text: "steel or ruby", "a, b or c".
template <typename Value, std::size_t Count>
std::string KeywordAlternatives(const Keyword<Value> (&words)[Count])
{
    std::string text;
    for (std::size_t i = 0; i < Count; ++i) {
        text += i == 0 ? "" : (i + 1 == Count ? " or " : ", ");
        text += words[i].Word;
    }
    return text;
}

} // namespace zevko::cli
