#pragma once

// The profile (INI) reader on arbitrary file text: it must give back every
// byte it read, and a value it writes must read back without disturbing the
// other values of the section.

#include "FuzzCheck.h"
#include "ProfileFile.h"
#include "ProfileFileEncoding.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zevko::fuzz {
namespace profile_file {

using zevko::ProfileFile;

// A name as the program writes them: letters, digits and '_' only, so that it
// can be neither a comment, a section header nor hold an '='.
inline std::string NameFrom(std::string_view bytes, std::string_view fallback)
{
    static constexpr std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
    std::string name;
    for (char c : bytes)
        name.push_back(Alphabet[static_cast<unsigned char>(c) % Alphabet.size()]);
    return name.empty() ? std::string(fallback) : name;
}

inline std::map<std::string, std::optional<std::string>> SectionValues(const ProfileFile& profile,
                                                                       const std::string& section)
{
    std::map<std::string, std::optional<std::string>> values;
    for (const std::string& key : profile.Keys(section))
        values[key] = profile.Value(section, key);
    return values;
}

// A file read in its encoding is written back in it byte for byte, also after
// a change; or it is refused as a whole.
inline void CheckEncoding(std::string_view input)
{
    const auto decoded = zevko::DecodeProfileText(input);
    if (!decoded)
        return;
    FUZZ_CHECK(zevko::EncodeProfileText(decoded->Text, decoded->Encoding) == std::string(input),
               "a file read in its encoding is written back byte for byte");
    ProfileFile profile(decoded->Text);
    profile.SetValue("DIAM_N", "COUNT", "3");
    const auto written = zevko::EncodeProfileText(profile.Text(), decoded->Encoding);
    FUZZ_CHECK(written.has_value(), "a changed file can be written in its encoding");
    const auto reread = zevko::DecodeProfileText(*written);
    FUZZ_CHECK(reread && reread->Encoding == decoded->Encoding && reread->Text == profile.Text(),
               "a changed file reads back in its encoding");
}

inline void CheckProfileFile(std::string_view input)
{
    CheckEncoding(input);
    ProfileFile profile(input);
    FUZZ_CHECK(profile.Text() == input, "the text read is given back byte for byte");

    // The section and the values to write come from the last 16 bytes, so
    // that the fuzzer can aim them at names that occur in the text: a section
    // name, then three keys of three bytes, each with a value of one byte
    // (missing bytes give COUNT, which repeats a key).
    const std::string_view tail = input.substr(input.size() > 16 ? input.size() - 16 : 0);
    const auto piece = [tail](std::size_t from, std::size_t length) {
        return from < tail.size() ? tail.substr(from, length) : std::string_view();
    };
    const std::string section = NameFrom(piece(0, 4), "DIAM_N");
    std::vector<std::pair<std::string, std::string>> written;
    for (std::size_t at = 4; at < 16; at += 4)
        written.emplace_back(NameFrom(piece(at, 3), "COUNT"), "v" + NameFrom(piece(at + 3, 1), "1"));

    const auto before = SectionValues(profile, section);
    std::vector<std::pair<std::string, std::string>> listed;
    for (const std::string& k : profile.Keys(section))
        listed.emplace_back(k, profile.Value(section, k).value_or("(no value)"));
    FUZZ_CHECK(profile.Values(section) == listed, "the values of a section are those of its keys, in order");
    (void)zevko::ParseProfileInteger(input);
    (void)zevko::ParseProfileInteger(profile.Value(section, "COUNT").value_or(std::string()));

    // Of a key given twice (in any case) the last value counts.
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& [key, value] : written) {
        bool replaced = false;
        for (auto& [k, v] : expected)
            if (zevko::fuzz::AsciiEqualNoCase(k, key)) {
                v = value;
                replaced = true;
            }
        if (!replaced)
            expected.emplace_back(key, value);
    }
    if ((static_cast<unsigned char>(tail.empty() ? 0 : tail[0]) & 1u) != 0) {
        profile.SetValues(section, written);
    } else {
        for (const auto& [key, value] : written)
            profile.SetValue(section, key, value);
    }
    for (const auto& [key, value] : expected)
        FUZZ_CHECK(profile.Value(section, key) == value, "a value written reads back at once");

    // Written out and read again, as the next start of the program does.
    const ProfileFile reread(profile.Text());
    FUZZ_CHECK(reread.Text() == profile.Text(), "the written text is read back byte for byte");
    for (const auto& [key, value] : expected)
        FUZZ_CHECK(reread.Value(section, key) == value, "a value written reads back from the file");
    const auto after = SectionValues(reread, section);
    for (const auto& [k, v] : before) {
        bool rewritten = false;
        for (const auto& entry : expected)
            rewritten = rewritten || zevko::fuzz::AsciiEqualNoCase(k, entry.first);
        if (rewritten)
            continue;
        const auto found = after.find(k);
        FUZZ_CHECK(found != after.end() && found->second == v, "the other keys of the section keep their values");
    }
    FUZZ_CHECK(after.size() <= before.size() + expected.size(), "writing adds at most the keys written");
}

} // namespace profile_file

using profile_file::CheckProfileFile;

} // namespace zevko::fuzz
