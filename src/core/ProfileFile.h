#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zevko {

// The text of a profile (INI) file, read and changed line by line so that
// everything this program does not write (other sections and keys, comments,
// blank lines, line endings, a UTF-8 byte order mark) stays exactly as it was.
//
// "[name]" opens a section; "key=value" holds a value; names are trimmed and
// matched without regard to ASCII case, values are trimmed. Lines starting
// with ';' or '#' are comments. Lines before the first section belong to no
// section. Of repeated sections and keys the first one counts.
class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string_view text);

    // The whole file text, with every line as read except those changed.
    std::string Text() const;

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Replaces the value in place; a new key goes after the last key of its
    // section, a new section at the end of the file.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Several values of one section in one pass; new keys keep the given order.
    void SetValues(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values);

    bool HasSection(std::string_view section) const;
    // The keys of a section in file order, first occurrences only, as spelt.
    std::vector<std::string> Keys(std::string_view section) const;
    // The same keys with their values, read in one pass.
    std::vector<std::pair<std::string, std::string>> Values(std::string_view section) const;

private:
    struct Line {
        std::string content; // without the line ending
        std::string ending;  // "\r\n", "\n", "\r" or "" for an unterminated last line
    };

    std::optional<std::size_t> FindSection(std::string_view section) const;
    // One past the section's last line (the next section header or the end).
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
    void InsertLines(std::size_t index, const std::vector<std::string>& contents);

    std::string bom_;
    std::vector<Line> lines_;
    std::string newline_ = "\n";
};

// Reads an integer entry such as COUNT: decimal with an optional sign, or
// hexadecimal after "0x" or "$"; any other text (and a value beyond 32 bits)
// is 0.
std::int32_t ParseProfileInteger(std::string_view text);

} // namespace zevko
