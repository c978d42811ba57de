#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zevko {

// The encoding of a profile (INI) file as its byte-order mark tells it. The
// profile text is worked on as 8-bit text; a UTF-16 file is turned into that
// form and back again byte for byte, so that a save never leaves a file of
// two encodings.
enum class ProfileFileEncoding {
    Bytes,   // no byte-order mark, or the UTF-8 one (kept with the text): as read
    Utf16LE, // FF FE
    Utf16BE, // FE FF
};

struct DecodedProfileText {
    ProfileFileEncoding Encoding = ProfileFileEncoding::Bytes;
    // UTF-16 as UTF-8, without the byte-order mark; a surrogate without its
    // partner as the three bytes of its code point (so nothing is lost).
    std::string Text;
};

// The text of the file's bytes, or nothing when the bytes are no text this
// program can write back unchanged: a UTF-32 byte-order mark, UTF-16 of an
// odd number of bytes, or a NUL character (a UTF-16 file without byte-order
// mark, or no text at all).
std::optional<DecodedProfileText> DecodeProfileText(std::string_view bytes);

// The bytes of `text` (as DecodeProfileText gives it) in `encoding`, with the
// byte-order mark of a UTF-16 file. Nothing when `text` is not of the form
// DecodeProfileText gives (which only text not read from a file can be).
std::optional<std::string> EncodeProfileText(std::string_view text, ProfileFileEncoding encoding);

} // namespace zevko
