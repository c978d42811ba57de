#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reading a numbered language table: the raw body of a table resource becomes
// its list of lines, and a text is looked up by its number.

namespace zevko {

// 8-bit code pages a table without byte-order mark may be written in.
enum class AnsiCodePage { Windows1251, Windows1252 };

// A table without byte-order mark is read in the code page of the system the
// program grew up on: a Bulgarian Windows, whose 8-bit code page is 1251. It
// covers Bulgarian and every English text; German umlauts and sharp s exist
// only in 1252, so a caller that knows better passes Windows1252. The tables
// the program ships carry a byte-order mark and never reach this fallback.
inline constexpr AnsiCodePage DefaultTableCodePage = AnsiCodePage::Windows1251;

// One entry per line, in the stored form "N=text".
using LanguageLines = std::vector<std::u16string>;

// The character a byte of the code page stands for. Bytes the code page leaves
// undefined map to the code point of the same value, as Windows maps them.
char16_t AnsiCharToUnicode(unsigned char byte, AnsiCodePage codePage);

// Splits a table body into its lines.
// - A byte-order mark selects the encoding: FF FE UTF-16 little-endian, FE FF
//   UTF-16 big-endian, EF BB BF UTF-8; without one, `codePage`.
// - The text ends at the first NUL character or at the end of the data.
// - CR, LF, CR LF (one break) and U+2028 end a line; every line, empty ones
//   included, is an entry; a break at the very end adds no empty entry.
// - Malformed data never fails: a lone byte at the end of UTF-16 data, an
//   unpaired surrogate and every ill-formed UTF-8 sequence (one per maximal
//   ill-formed part) each read as U+FFFD.
LanguageLines ReadLanguageTable(std::string_view body, AnsiCodePage codePage = DefaultTableCodePage);

// The text after the first "=" of the first entry whose part before that "="
// equals `key`, ASCII letters compared without case (keys are text numbers,
// so this is exact for every lookup the program makes). Entries without "="
// are passed over. No match: an empty text.
std::u16string FindLanguageText(const LanguageLines& table, std::u16string_view key);

// FindLanguageText with the decimal form of `number` ("-1" for -1).
std::u16string FindLanguageText(const LanguageLines& table, int number);

} // namespace zevko
