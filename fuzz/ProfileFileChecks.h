#pragma once

// The profile (INI) reader on arbitrary file text: it must give back every
// byte it read, and a value it writes must read back without disturbing the
// other values of the section.

#include "FuzzCheck.h"
#include "ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
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

inline std::map<std::string, std::optional<std::string>> SectionValues(const ProfileFile& profile, const std::string& section)
{
    std::map<std::string, std::optional<std::string>> values;
    for (const std::string& key : profile.Keys(section))
        values[key] = profile.Value(section, key);
    return values;
}

inline void CheckProfileFile(std::string_view input)
{
    const std::string_view text = input;
    const std::size_t size = input.size();
    ProfileFile profile(text);
    FUZZ_CHECK(profile.Text() == text, "the text read is given back byte for byte");

    // The section and key to change come from the tail of the input, so that
    // the fuzzer can aim them at names that occur in the text.
    const std::string_view tail = text.substr(size > 12 ? size - 12 : 0);
    const std::string section = NameFrom(tail.substr(0, 4), "DIAM_N");
    const std::string key = NameFrom(tail.substr(tail.size() > 4 ? 4 : tail.size(), 4), "COUNT");
    const std::string value = "v" + NameFrom(tail.substr(tail.size() > 8 ? 8 : tail.size()), "1");

    for (const std::string& k : profile.Keys(section))
        FUZZ_CHECK(profile.Value(section, k).has_value(), "every listed key has a value");
    (void)zevko::ParseProfileInteger(text);
    (void)zevko::ParseProfileInteger(profile.Value(section, key).value_or(std::string()));

    const auto before = SectionValues(profile, section);
    profile.SetValue(section, key, value);
    FUZZ_CHECK(profile.Value(section, key) == value, "a value written reads back at once");

    // Written out and read again, as the next start of the program does.
    const ProfileFile reread(profile.Text());
    FUZZ_CHECK(reread.Text() == profile.Text(), "the written text is read back byte for byte");
    FUZZ_CHECK(reread.Value(section, key) == value, "a value written reads back from the file");
    const auto after = SectionValues(reread, section);
    for (const auto& [k, v] : before) {
        if (zevko::fuzz::AsciiEqualNoCase(k, key))
            continue;
        const auto found = after.find(k);
        FUZZ_CHECK(found != after.end() && found->second == v, "the other keys of the section keep their values");
    }
    FUZZ_CHECK(after.size() <= before.size() + 1, "writing one value adds at most one key");
}

} // namespace profile_file

using profile_file::CheckProfileFile;

} // namespace zevko::fuzz
