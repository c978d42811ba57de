#pragma once

// The Windows single-byte code pages the program reads: Central European
// 1250, Cyrillic 1251 and Western 1252. Bytes below 0x80 are ASCII in all of
// them; the tables give the upper half as the published code page charts do.

namespace zevko {

enum class WindowsCodePage { Windows1250, Windows1251, Windows1252 };

// What a byte the code page leaves undefined reads as.
enum class UndefinedByte {
    // The code point of the same value (0x98 reads as U+0098), as Windows'
    // own conversion does: text written by a Windows program reads back as
    // that program saw it.
    SameCodePoint,
    // U+FFFD, the replacement character: no C1 control reaches the text.
    Replacement,
};

// The character `byte` stands for in `codePage`.
char16_t DecodeWindowsByte(unsigned char byte, WindowsCodePage codePage, UndefinedByte undefined);

} // namespace zevko
