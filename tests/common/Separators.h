#pragma once

// The two decimal separators every table of texts runs with. The tables are
// written with the point; each row runs once per separator, with every point
// turned into that separator.

#include <string>

namespace zevkotest {

inline constexpr char Separators[] = {'.', ','};

inline std::string WithSeparator(std::string text, char separator)
{
    for (char& c : text) {
        if (c == '.') {
            c = separator;
        }
    }
    return text;
}

} // namespace zevkotest
