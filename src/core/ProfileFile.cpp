#include "ProfileFile.h"

#include <charconv>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace zevko {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerName(std::string_view name)
{
    std::string lower(Trim(name));
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// The name of a section header line, if the line is one.
std::optional<std::string_view> SectionName(std::string_view line)
{
    std::string_view s = Trim(line);
    if (s.empty() || s.front() != '[')
        return std::nullopt;
    const std::size_t close = s.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(s.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::size_t equals = 0; // index of '=' in the line
};

std::optional<KeyLine> ParseKeyLine(std::string_view line)
{
    const std::string_view s = Trim(line);
    if (s.empty() || s.front() == ';' || s.front() == '#' || s.front() == '[')
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, equals};
}

// A value must stay on its line.
std::string OneLine(std::string_view value)
{
    std::string result(value);
    for (char& c : result)
        if (c == '\r' || c == '\n')
            c = ' ';
    return result;
}

// Keeps the key as spelt and the blanks after '='; the value is replaced.
void ReplaceValue(std::string& line, std::string_view value)
{
    std::size_t keep = line.find('=') + 1;
    while (keep < line.size() && IsBlank(line[keep]))
        ++keep;
    line.erase(keep);
    line += OneLine(value);
}

} // namespace

ProfileFile::ProfileFile(std::string_view text)
{
    if (text.substr(0, Utf8Bom.size()) == Utf8Bom) {
        bom_ = Utf8Bom;
        text.remove_prefix(Utf8Bom.size());
    }
    bool newlineFound = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        Line line;
        if (end == std::string_view::npos) {
            line.content = text;
            text = {};
        } else {
            line.content = text.substr(0, end);
            const std::size_t endingLength =
                (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
            line.ending = text.substr(end, endingLength);
            text.remove_prefix(end + endingLength);
            if (!newlineFound) {
                newline_ = line.ending;
                newlineFound = true;
            }
        }
        lines_.push_back(std::move(line));
    }
#ifdef _WIN32
    if (!newlineFound)
        newline_ = "\r\n";
#endif
}

std::string ProfileFile::Text() const
{
    std::string text = bom_;
    for (const Line& line : lines_) {
        text += line.content;
        text += line.ending;
    }
    return text;
}

std::optional<std::size_t> ProfileFile::FindSection(std::string_view section) const
{
    const std::string_view wanted = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i].content);
        if (name && SameName(*name, wanted))
            return i;
    }
    return std::nullopt;
}

std::size_t ProfileFile::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i].content))
        ++i;
    return i;
}

std::optional<std::size_t> ProfileFile::FindKey(std::size_t header, std::string_view key) const
{
    const std::string_view wanted = Trim(key);
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto parsed = ParseKeyLine(lines_[i].content);
        if (parsed && SameName(parsed->key, wanted))
            return i;
    }
    return std::nullopt;
}

bool ProfileFile::HasSection(std::string_view section) const
{
    return FindSection(section).has_value();
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    for (auto& [key, value] : Values(section))
        keys.push_back(std::move(key));
    return keys;
}

std::vector<std::pair<std::string, std::string>> ProfileFile::Values(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    const auto header = FindSection(section);
    if (!header)
        return values;
    const std::size_t end = SectionEnd(*header);
    std::unordered_set<std::string> seen;
    for (std::size_t i = *header + 1; i < end; ++i) {
        const auto parsed = ParseKeyLine(lines_[i].content);
        if (parsed && seen.insert(LowerName(parsed->key)).second)
            values.emplace_back(std::string(parsed->key),
                                std::string(Trim(std::string_view(lines_[i].content).substr(parsed->equals + 1))));
    }
    return values;
}

std::optional<std::string> ProfileFile::Value(std::string_view section, std::string_view key) const
{
    const auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    const auto index = FindKey(*header, key);
    if (!index)
        return std::nullopt;
    const std::string& content = lines_[*index].content;
    const std::size_t equals = content.find('=');
    return std::string(Trim(std::string_view(content).substr(equals + 1)));
}

void ProfileFile::InsertLines(std::size_t index, const std::vector<std::string>& contents)
{
    if (contents.empty())
        return;
    // An unterminated last line gets an ending before anything follows it.
    if (index == lines_.size() && !lines_.empty() && lines_.back().ending.empty())
        lines_.back().ending = newline_;
    std::vector<Line> added;
    added.reserve(contents.size());
    for (const std::string& content : contents)
        added.push_back(Line{content, newline_});
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), added.begin(), added.end());
}

void ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    SetValues(section, {{std::string(key), std::string(value)}});
}

void ProfileFile::SetValues(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values)
{
    if (values.empty())
        return;
    const auto header = FindSection(section);
    if (!header) {
        std::vector<std::string> added;
        if (!lines_.empty() && !Trim(lines_.back().content).empty())
            added.emplace_back();
        added.push_back("[" + std::string(section) + "]");
        std::unordered_map<std::string, std::size_t> addedKeys;
        for (const auto& [key, value] : values) {
            const auto [it, isNew] = addedKeys.try_emplace(LowerName(key), added.size());
            if (isNew)
                added.push_back(key + "=" + OneLine(value));
            else
                ReplaceValue(added[it->second], value);
        }
        InsertLines(lines_.size(), added);
        return;
    }

    // One pass over the section: where each key stands, and where new keys go
    // (after the last key, so that blank lines and comments leading into the
    // next section stay with it).
    std::unordered_map<std::string, std::size_t> keyLines;
    std::size_t insertAt = *header + 1;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (const auto parsed = ParseKeyLine(lines_[i].content)) {
            keyLines.try_emplace(LowerName(parsed->key), i);
            insertAt = i + 1;
        }
    }
    std::vector<std::string> added;
    std::unordered_map<std::string, std::size_t> addedKeys;
    for (const auto& [key, value] : values) {
        const std::string lower = LowerName(key);
        if (const auto found = keyLines.find(lower); found != keyLines.end()) {
            ReplaceValue(lines_[found->second].content, value);
        } else if (const auto [it, isNew] = addedKeys.try_emplace(lower, added.size()); isNew) {
            added.push_back(key + "=" + OneLine(value));
        } else {
            ReplaceValue(added[it->second], value);
        }
    }
    InsertLines(insertAt, added);
}

std::int32_t ParseProfileInteger(std::string_view text)
{
    text = Trim(text);
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return 0;
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end)
        return 0;
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(value);
}

} // namespace zevko
