#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zevko::cli {

// One record of a CSV input. Fields[0 .. Count) are the record's fields; the
// vector keeps its strings between records so that reading allocates little.
struct CsvRecord {
    std::vector<std::string> Fields;
    std::size_t Count = 0;
    long Line = 0;     // line of the input where the record starts, from 1
    std::string Error; // not empty: the record's quoting is broken, or it is too long
};

// Reads CSV after RFC 4180: fields separated by one delimiter character;
// a field that starts with a double quote runs to the closing quote, may hold
// delimiters and line breaks, and writes a quote as two quotes. Records end
// at LF or CRLF. Fields that do not start with a quote are taken verbatim.
// Lines that hold nothing but blanks are skipped. A UTF-8 byte-order mark at
// the start of the input is ignored.
//
// A record is bounded, so that no input can take more memory than that: its
// text (without the line break that ends it) at most MaxRecordBytes, and at
// most MaxRecordFields fields. A longer record is read as an error record
// (Error says which bound it broke); the rest of its line is skipped unread,
// and it holds as many empty fields as the first record, so that rows written
// in its place stay in their columns. A NUL byte ends the reading (NotText):
// CSV is text, and a NUL means a binary or UTF-16 file.
class CsvReader {
public:
    static constexpr std::size_t MaxRecordBytes = std::size_t{1} << 20;
    static constexpr std::size_t MaxRecordFields = 10000;

    explicit CsvReader(std::istream& in);

    // The delimiter of the input: the first ',', ';' or tab outside quotes in
    // the line given (the header line). Defaults to ','.
    static char DetectDelimiter(std::string_view headerLine);

    // Reads the next record; false at the end of the input (or on a read
    // error, see ReadFailed, or at a NUL byte, see NotText). The first call
    // decides the delimiter from the first non-blank line.
    bool ReadRecord(CsvRecord& record);

    // The input could not be read (an I/O error, not the end of the input).
    bool ReadFailed() const;

    // The reading stopped at a NUL byte in line NotTextLine().
    bool NotText() const { return notText_; }
    long NotTextLine() const { return lineNumber_; }

    char Delimiter() const { return delimiter_; }

private:
    // Reads the next physical line into line_, without its line break, keeping
    // at most `limit` bytes; the rest of a longer line is skipped and
    // lineTooLong_ set. False at the end of the input, a read error or a NUL.
    bool NextLine(std::size_t limit);
    std::string& NewField(CsvRecord& record);
    // Makes `record` the error record for a row that broke a bound.
    void Oversized(CsvRecord& record, const char* reason);

    std::istream& in_;
    std::string line_;
    bool lineTooLong_ = false;
    long lineNumber_ = 0;
    char delimiter_ = ',';
    bool delimiterKnown_ = false;
    bool notText_ = false;
    std::size_t firstRecordFields_ = 0;
};

} // namespace zevko::cli
