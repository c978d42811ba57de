#pragma once

// The language-table reader on arbitrary table bodies, in both 8-bit code
// pages: every line it gives is well-formed UTF-16 without a line break or a
// NUL in it, and the lookups never fail.

#include "FuzzCheck.h"
#include "LanguageTableReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zevko::fuzz {
namespace language_table {

using zevko::AnsiCodePage;

inline char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

inline bool SameKey(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

inline void CheckTable(const zevko::LanguageLines& table)
{
    for (const std::u16string& line : table) {
        FUZZ_CHECK(zevko::fuzz::IsValidUtf16(line), "a line is well-formed UTF-16");
        for (char16_t c : line)
            FUZZ_CHECK(c != u'\r' && c != u'\n' && c != u'\u2028' && c != u'\0', "a line holds no break and no NUL");
    }
    // The numbers the window asks for, and the key of every entry: the first
    // entry whose key matches answers with the text after its "=".
    for (int number : {-1, 0, 1, 196, 2147483647})
        (void)zevko::FindLanguageText(table, number);
    for (const std::u16string& line : table) {
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string::npos)
            continue;
        const std::u16string_view key = std::u16string_view(line).substr(0, equals);
        std::u16string expected;
        for (const std::u16string& entry : table) {
            const std::size_t at = entry.find(u'=');
            if (at != std::u16string::npos && SameKey(std::u16string_view(entry).substr(0, at), key)) {
                expected = entry.substr(at + 1);
                break;
            }
        }
        FUZZ_CHECK(zevko::FindLanguageText(table, key) == expected, "a key finds the text of its first entry");
    }
}

inline void CheckLanguageTable(std::string_view input)
{
    const std::string_view body = input;
    CheckTable(zevko::ReadLanguageTable(body, AnsiCodePage::Windows1251));
    CheckTable(zevko::ReadLanguageTable(body, AnsiCodePage::Windows1252));
    for (int byte = 0; byte < 256; byte += 37)
        (void)zevko::AnsiCharToUnicode(static_cast<unsigned char>(byte), AnsiCodePage::Windows1252);
}

} // namespace language_table

using language_table::CheckLanguageTable;

} // namespace zevko::fuzz
