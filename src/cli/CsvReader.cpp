#include "CsvReader.h"

#include <istream>
#include <new>
#include <ostream>

namespace zevko::cli {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// A field longer than this gives its memory back before the next record, so
// that the strings kept from record to record stay small.
constexpr std::size_t KeptFieldCapacity = 256;

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

CsvReader::CsvReader(std::istream& in) : in_(in) {}

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

bool CsvReader::NextLine(std::size_t limit)
{
    line_.clear();
    lineTooLong_ = false;
    std::streambuf* buffer = in_.rdbuf();
    if (buffer == nullptr || !in_.good()) {
        return false;
    }
    const bool firstLine = lineNumber_ == 0;
    // Room for a CR before the LF, and for the byte-order mark of the first line.
    const std::size_t keep = limit + 1 + (firstLine ? ByteOrderMark.size() : 0);
    bool anything = false;
    try {
        // Results written so far reach whoever waits for them before the
        // reading waits for more input.
        if (in_.tie() != nullptr && buffer->in_avail() <= 0) {
            in_.tie()->flush();
        }
        for (;;) {
            const std::streambuf::int_type c = buffer->sbumpc();
            if (std::streambuf::traits_type::eq_int_type(c, std::streambuf::traits_type::eof())) {
                in_.setstate(std::ios::eofbit);
                break;
            }
            anything = true;
            const char byte = std::streambuf::traits_type::to_char_type(c);
            if (byte == '\n') {
                break;
            }
            if (byte == '\0') {
                ++lineNumber_;
                notText_ = true;
                return false;
            }
            if (line_.size() < keep) {
                line_.push_back(byte);
            } else {
                lineTooLong_ = true; // skipped to the line break, unread
            }
        }
    } catch (const std::bad_alloc&) {
        throw; // not a read error: the program reports it as what it is
    } catch (...) {
        // A file buffer throws on a read error where the stream would set badbit.
        in_.setstate(std::ios::badbit);
        return false;
    }
    if (!anything) {
        return false;
    }
    ++lineNumber_;
    if (firstLine && line_.starts_with(ByteOrderMark)) {
        line_.erase(0, ByteOrderMark.size());
    }
    if (!lineTooLong_ && !line_.empty() && line_.back() == '\r') {
        line_.pop_back();
    }
    lineTooLong_ = lineTooLong_ || line_.size() > limit;
    return true;
}

bool CsvReader::ReadFailed() const
{
    return in_.bad();
}

std::string& CsvReader::NewField(CsvRecord& record)
{
    if (record.Count == record.Fields.size()) {
        record.Fields.emplace_back();
    }
    std::string& field = record.Fields[record.Count++];
    if (field.capacity() > KeptFieldCapacity) {
        std::string().swap(field);
    } else {
        field.clear();
    }
    return field;
}

void CsvReader::Oversized(CsvRecord& record, const char* reason)
{
    record.Error = reason;
    record.Count = 0;
    const std::size_t fields = firstRecordFields_ == 0 ? 1 : firstRecordFields_;
    for (std::size_t i = 0; i < fields; ++i) {
        NewField(record);
    }
}

bool CsvReader::ReadRecord(CsvRecord& record)
{
    record.Count = 0;
    record.Error.clear();
    do {
        if (!NextLine(MaxRecordBytes)) {
            return false;
        }
    } while (!lineTooLong_ && IsBlankLine(line_));
    record.Line = lineNumber_;
    const bool firstRecord = !delimiterKnown_;
    const auto finished = [&] {
        if (firstRecord) {
            firstRecordFields_ = record.Count;
        }
        return true;
    };
    if (lineTooLong_) {
        Oversized(record, "the row is longer than 1 MiB");
        return finished();
    }
    if (!delimiterKnown_) {
        delimiter_ = DetectDelimiter(line_);
        delimiterKnown_ = true;
    }

    std::size_t recordBytes = line_.size(); // the record's text so far, inner line breaks as one byte
    std::size_t i = 0;
    for (;;) {
        if (record.Count == MaxRecordFields) {
            Oversized(record, "the row has more than 10000 fields");
            return finished();
        }
        std::string& field = NewField(record);
        if (i < line_.size() && line_[i] == '"') {
            ++i;
            bool closed = false;
            while (!closed) {
                const std::size_t quote = line_.find('"', i);
                if (quote == std::string::npos) {
                    // The field goes on in the next line.
                    if (recordBytes + 1 > MaxRecordBytes) {
                        Oversized(record, "the row is longer than 1 MiB");
                        return finished();
                    }
                    field.append(line_, i, std::string::npos);
                    if (!NextLine(MaxRecordBytes - recordBytes - 1)) {
                        if (notText_) {
                            return false;
                        }
                        record.Error = "unterminated quoted field";
                        return finished();
                    }
                    if (lineTooLong_) {
                        Oversized(record, "the row is longer than 1 MiB");
                        return finished();
                    }
                    recordBytes += 1 + line_.size();
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
            return finished();
        }
        ++i; // the delimiter; a delimiter at the end of the line opens an empty last field
    }
}

} // namespace zevko::cli
