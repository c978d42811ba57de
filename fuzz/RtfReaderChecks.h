#pragma once

// The RTF reader on arbitrary documents: it returns (also for deep nesting
// and absurd numbers) with well-formed UTF-8 text, no empty run and no two
// adjacent runs of the same format.

#include "FuzzCheck.h"
#include "RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zevko::fuzz {
namespace rtf_reader {

inline void CheckRtfReader(std::string_view input)
{
    const zevko::RtfDocument document = zevko::ReadRtf(input);
    std::size_t textSize = 0;
    for (const zevko::RtfParagraph& paragraph : document.Paragraphs) {
        for (std::size_t i = 0; i < paragraph.Runs.size(); ++i) {
            const zevko::RtfRun& run = paragraph.Runs[i];
            FUZZ_CHECK(!run.Text.empty(), "no run is empty");
            FUZZ_CHECK(zevko::fuzz::IsValidUtf8(run.Text), "run text is well-formed UTF-8");
            FUZZ_CHECK(i == 0 || !(paragraph.Runs[i - 1].Format == run.Format), "adjacent runs differ in format");
            textSize += run.Text.size();
        }
    }
    const std::string plain = document.PlainText();
    const std::size_t breaks = document.Paragraphs.empty() ? 0 : document.Paragraphs.size() - 1;
    FUZZ_CHECK(plain.size() == textSize + breaks, "the plain text is the runs' text, one break between paragraphs");
    FUZZ_CHECK(zevko::fuzz::IsValidUtf8(plain), "the plain text is well-formed UTF-8");
}

} // namespace rtf_reader

using rtf_reader::CheckRtfReader;

} // namespace zevko::fuzz
