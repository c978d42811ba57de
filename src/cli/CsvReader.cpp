#include "CsvReader.h"

#include <istream>

namespace zevko::cli {
namespace {

bool IsBlankLine(std::string_view line)
{
    for (char c : line) {
        if (c != ' ' && c != '\t') {
            return false;
        }
    }
    return true;
}

} // namespace

CsvReader::CsvReader(std::istream& in)
    : in_(in)
{
}

char CsvReader::DetectDelimiter(std::string_view headerLine)
{
    bool quoted = false;
    for (char c : headerLine) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == ';' || c == '\t')) {
            return c;
        }
    }
    return ',';
}

bool CsvReader::NextLine()
{
    if (!std::getline(in_, line_)) {
        return false;
    }
    ++lineNumber_;
    if (lineNumber_ == 1 && line_.starts_with("\xEF\xBB\xBF")) {
        line_.erase(0, 3);
    }
    if (!line_.empty() && line_.back() == '\r') {
        line_.pop_back();
    }
    return true;
}

bool CsvReader::ReadFailed() const { return in_.bad(); }

std::string& CsvReader::NewField(CsvRecord& record)
{
    if (record.Count == record.Fields.size()) {
        record.Fields.emplace_back();
    }
    std::string& field = record.Fields[record.Count++];
    field.clear();
    return field;
}

bool CsvReader::ReadRecord(CsvRecord& record)
{
    record.Count = 0;
    record.Error.clear();
    do {
        if (!NextLine()) {
            return false;
        }
    } while (IsBlankLine(line_));
    if (!delimiterKnown_) {
        delimiter_ = DetectDelimiter(line_);
        delimiterKnown_ = true;
    }
    record.Line = lineNumber_;

    std::size_t i = 0;
    for (;;) {
        std::string& field = NewField(record);
        if (i < line_.size() && line_[i] == '"') {
            ++i;
            bool closed = false;
            while (!closed) {
                const std::size_t quote = line_.find('"', i);
                if (quote == std::string::npos) {
                    // The field goes on in the next line.
                    field.append(line_, i, std::string::npos);
                    if (!NextLine()) {
                        record.Error = "unterminated quoted field";
                        return true;
                    }
                    field.push_back('\n');
                    i = 0;
                    continue;
                }
                field.append(line_, i, quote - i);
                i = quote + 1;
                if (i < line_.size() && line_[i] == '"') {
                    field.push_back('"');
                    ++i;
                } else {
                    closed = true;
                }
            }
            if (i < line_.size() && line_[i] != delimiter_) {
                if (record.Error.empty()) {
                    record.Error = "text after a closing quote";
                }
                const std::size_t next = line_.find(delimiter_, i);
                field.append(line_, i, next == std::string::npos ? std::string::npos : next - i);
                i = next == std::string::npos ? line_.size() : next;
            }
        } else {
            const std::size_t next = line_.find(delimiter_, i);
            field.append(line_, i, next == std::string::npos ? std::string::npos : next - i);
            i = next == std::string::npos ? line_.size() : next;
        }
        if (i >= line_.size()) {
            return true;
        }
        ++i; // the delimiter; a delimiter at the end of the line opens an empty last field
    }
}

} // namespace zevko::cli
