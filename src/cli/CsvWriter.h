#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace zevko::cli {

// Builds CSV records after RFC 4180: a field that holds the delimiter, a
// double quote, a line break or blanks at either end is written in quotes,
// with its quotes doubled. Records end with LF. The first field of the first
// record is also quoted when it holds another of the delimiters a reader
// detects (',', ';', tab) or starts with a UTF-8 byte-order mark, so that the
// output is read back as written.
class CsvWriter {
public:
    CsvWriter(std::ostream& out, char delimiter);

    void Field(std::string_view text);
    // Writes the record built so far and starts the next one.
    void EndRecord();
    // The output could not be written.
    bool WriteFailed() const;

private:
    std::ostream& out_;
    char delimiter_;
    std::string record_;
    bool firstField_ = true;
    bool firstRecord_ = true;
};

} // namespace zevko::cli
