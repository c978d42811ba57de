// The language-table reader on arbitrary table bodies, in both 8-bit code
// pages: every line it gives is well-formed UTF-16 without a line break or a
// NUL in it, and the lookups never fail.

#include "FuzzCheck.h"
#include "LanguageTableReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

using zevko::AnsiCodePage;

namespace {

void CheckTable(const zevko::LanguageLines& table)
{
    for (const std::u16string& line : table) {
        FUZZ_CHECK(zevko::fuzz::IsValidUtf16(line), "a line is well-formed UTF-16");
        for (char16_t c : line)
            FUZZ_CHECK(c != u'\r' && c != u'\n' && c != u'\u2028' && c != u'\0', "a line holds no break and no NUL");
    }
    // The numbers the window asks for, and the key of every entry: the first
    // entry with that key answers, so its text is what the lookup gives.
    for (int number : {-1, 0, 1, 196, 2147483647})
        (void)zevko::FindLanguageText(table, number);
    for (const std::u16string& line : table) {
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string::npos)
            continue;
        const std::u16string text = zevko::FindLanguageText(table, std::u16string_view(line).substr(0, equals));
        FUZZ_CHECK(text.size() <= line.size(), "a text found is part of a line");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body = zevko::fuzz::AsText(data, size);
    CheckTable(zevko::ReadLanguageTable(body, AnsiCodePage::Windows1251));
    CheckTable(zevko::ReadLanguageTable(body, AnsiCodePage::Windows1252));
    for (int byte = 0; byte < 256; byte += 37)
        (void)zevko::AnsiCharToUnicode(static_cast<unsigned char>(byte), AnsiCodePage::Windows1252);
    return 0;
}
