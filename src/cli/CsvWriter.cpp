#include "CsvWriter.h"

#include <ostream>

namespace zevko::cli {

CsvWriter::CsvWriter(std::ostream& out, char delimiter) : out_(out), delimiter_(delimiter) {}

void CsvWriter::Field(std::string_view text)
{
    if (!firstField_) {
        record_.push_back(delimiter_);
    }
    // A reader takes the delimiter from the first of these it meets outside
    // quotes in the first line, and drops a byte-order mark that starts it.
    const bool inputStart = firstRecord_ && firstField_;
    firstField_ = false;
    const char special[] = {delimiter_, '"', '\n', '\r'};
    const bool needsQuotes =
        text.find_first_of(std::string_view(special, sizeof special)) != std::string_view::npos ||
        (inputStart && (text.find_first_of(",;\t") != std::string_view::npos || text.starts_with("\xEF\xBB\xBF"))) ||
        (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t'));
    if (!needsQuotes) {
        record_.append(text);
        return;
    }
    record_.push_back('"');
    for (char c : text) {
        if (c == '"') {
            record_.push_back('"');
        }
        record_.push_back(c);
    }
    record_.push_back('"');
}

void CsvWriter::EndRecord()
{
    record_.push_back('\n');
    out_.write(record_.data(), static_cast<std::streamsize>(record_.size()));
    record_.clear();
    firstField_ = true;
    firstRecord_ = false;
}

bool CsvWriter::WriteFailed() const
{
    return out_.fail();
}

} // namespace zevko::cli
