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
    std::string Error; // not empty: the record's quoting is broken
};

// Reads CSV after RFC 4180: fields separated by one delimiter character;
// a field that starts with a double quote runs to the closing quote, may hold
// delimiters and line breaks, and writes a quote as two quotes. Records end
// at LF or CRLF. Fields that do not start with a quote are taken verbatim.
// Lines that hold nothing but blanks are skipped. A UTF-8 byte-order mark at
// the start of the input is ignored.
class CsvReader {
public:
    explicit CsvReader(std::istream& in);

    // The delimiter of the input: the first ',', ';' or tab outside quotes in
    // the line given (the header line). Defaults to ','.
    static char DetectDelimiter(std::string_view headerLine);

    // Reads the next record; false at the end of the input (or on a read
    // error, see ReadFailed). The first call decides the delimiter from the
    // first non-blank line.
    bool ReadRecord(CsvRecord& record);

    // The input could not be read (an I/O error, not the end of the input).
    bool ReadFailed() const;

    char Delimiter() const { return delimiter_; }

private:
    bool NextLine();
    std::string& NewField(CsvRecord& record);

    std::istream& in_;
    std::string line_;
    long lineNumber_ = 0;
    char delimiter_ = ',';
    bool delimiterKnown_ = false;
};

} // namespace zevko::cli
