#include "ThreadDesignation.h"

#include "NumberFormat.h"
#include "ThreadSeries.h"

#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <utility>

namespace zevko {

namespace {

// No designation of the forms read here comes near this; a longer text is
// not one, and the refusal needs no part of it.
constexpr std::size_t MaxLength = 80;

// The basic profile constants as the standards define them: 3*sqrt(3)/8 for
// the 60 degree forms, 0.640327 for the 55 degree Whitworth form.
constexpr long double IsoFactor = 0.649519L;
constexpr long double WhitworthFactor = 0.640327L;

constexpr long double MinPitchMm = 0.01L;

struct Refused {
    DesignationRefusal Reason;
    std::string Part;
};

[[noreturn]] void Refuse(DesignationRefusal reason, std::string_view part)
{
    throw Refused{reason, std::string(part)};
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsBlank(char c)
{
    return c == ' ';
}

// The signs that drawings and word processors put in place of the ASCII ones:
// the multiplication sign, the minus and the dashes, the no-break space, the
// inch marks after a size ("1/2\" BSW").
std::string Normalized(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto at = [&](std::string_view sequence) { return text.substr(i, sequence.size()) == sequence; };
        if (at("\xC3\x97")) { // multiplication sign
            out += 'x';
            i += 2;
        } else if (at("\xE2\x88\x92") || at("\xE2\x80\x90") || at("\xE2\x80\x91") || at("\xE2\x80\x93")) {
            out += '-';
            i += 3;
        } else if (at("\xC2\xA0")) {
            out += ' ';
            i += 2;
        } else if (at("\xE2\x80\xB3")) { // double prime
            i += 3;
        } else if (text[i] == '"') {
            ++i;
        } else {
            out += text[i] == '\t' ? ' ' : text[i];
            ++i;
        }
    }
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

struct NumberToken {
    long double Value = 0.0L;
    std::string Text;
    bool Whole = false; // digits only
};

// A size in inches: a numbered size (#10), a fraction or mixed number
// (1/4, 1 1/4), a whole number or a decimal (.250).
struct InchSize {
    int Numbered = -1; // numbered size, -1 otherwise
    bool HasFraction = false;
    InchFraction Fraction;
    long double Inches = 0.0L;
    bool Whole = false; // a bare whole number (could also be a numbered size)
    std::string Text;
};

class Cursor {
public:
    Cursor(std::string_view text, char separator) : text_(text), separator_(separator) {}

    void SkipBlanks()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
        }
    }

    bool AtEnd()
    {
        SkipBlanks();
        return pos_ == text_.size();
    }

    char Peek()
    {
        SkipBlanks();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }

    // The next character, letters without regard to case.
    bool Take(char c)
    {
        if (Upper(Peek()) == Upper(c) && pos_ < text_.size()) {
            ++pos_;
            return true;
        }
        return false;
    }

    // A word, without regard to case, not followed by a further letter.
    bool TakeWord(std::string_view word)
    {
        SkipBlanks();
        if (text_.size() - pos_ < word.size()) {
            return false;
        }
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (Upper(text_[pos_ + i]) != Upper(word[i])) {
                return false;
            }
        }
        if (pos_ + word.size() < text_.size() && IsLetter(text_[pos_ + word.size()])) {
            return false;
        }
        pos_ += word.size();
        return true;
    }

    bool NextIsNumber()
    {
        const char c = Peek();
        return IsDigit(c) || c == '.' || c == separator_;
    }

    // A decimal number with the point or the program's separator; nothing
    // consumed when no number starts here.
    std::optional<NumberToken> TakeNumber()
    {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && (IsDigit(text_[pos_]) || text_[pos_] == '.' || text_[pos_] == ',')) {
            ++pos_;
        }
        if (pos_ == start) {
            return std::nullopt;
        }
        const std::string_view run = text_.substr(start, pos_ - start);
        std::string converted(run);
        int marks = 0;
        bool digits = false;
        for (char& c : converted) {
            if (IsDigit(c)) {
                digits = true;
            } else if (c == '.' || c == separator_) {
                ++marks;
                c = separator_;
            } else {
                marks = 2; // the other separator: not a number here
            }
        }
        const auto value = marks <= 1 && digits ? ParseDecimalText(converted, separator_) : std::nullopt;
        if (!value) {
            Refuse(DesignationRefusal::UnreadableNumber, run);
        }
        return NumberToken{*value, std::string(run), marks == 0};
    }

    NumberToken RequireNumber(std::string_view what)
    {
        auto number = TakeNumber();
        if (!number) {
            Refuse(DesignationRefusal::UnreadableNumber, AtEnd() ? what : Word());
        }
        return *number;
    }

    InchSize TakeInchSize()
    {
        SkipBlanks();
        const std::size_t start = pos_;
        InchSize size;
        if (Take('#')) {
            const NumberToken number = RequireNumber("#");
            if (!number.Whole || number.Value > 12) {
                Refuse(DesignationRefusal::SizeNotInSeries, Since(start));
            }
            size.Numbered = static_cast<int>(number.Value);
            size.Inches = 0.060L + 0.013L * size.Numbered;
            size.Text = Since(start);
            return size;
        }
        const NumberToken first = RequireNumber("size");
        if (first.Whole && pos_ < text_.size() && text_[pos_] == '/') {
            ++pos_;
            const NumberToken denominator = RequireNumber(Since(start));
            SetFraction(size, 0, first, denominator);
            return size;
        }
        if (first.Whole) {
            // A mixed number: "1 1/4".
            const std::size_t afterWhole = pos_;
            SkipBlanks();
            if (pos_ > afterWhole && pos_ < text_.size() && IsDigit(text_[pos_])) {
                const std::size_t numeratorStart = pos_;
                while (pos_ < text_.size() && IsDigit(text_[pos_])) {
                    ++pos_;
                }
                if (pos_ < text_.size() && text_[pos_] == '/') {
                    const NumberToken numerator{
                        ParseFieldValue(text_.substr(numeratorStart, pos_ - numeratorStart), '.'),
                        std::string(text_.substr(numeratorStart, pos_ - numeratorStart)), true};
                    ++pos_;
                    const NumberToken denominator = RequireNumber(Since(start));
                    SetFraction(size, first.Value, numerator, denominator);
                    return size;
                }
            }
            pos_ = afterWhole;
        }
        size.Inches = first.Value;
        size.Whole = first.Whole;
        if (first.Whole && first.Value <= 1000) {
            size.HasFraction = true;
            size.Fraction = {static_cast<int>(first.Value), 1};
        }
        size.Text = first.Text;
        return size;
    }

    // The next word (up to a blank, a hyphen or a digit), for a refusal.
    std::string Word()
    {
        SkipBlanks();
        std::size_t end = pos_;
        while (end < text_.size() && !IsBlank(text_[end]) && text_[end] != '-' &&
               (end == pos_ || !IsDigit(text_[end]))) {
            ++end;
        }
        return std::string(text_.substr(pos_, end - pos_));
    }

    // A token of the tail (class, hand, length of engagement): letters,
    // digits and '/'.
    std::string Token()
    {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]) || text_[pos_] == '/')) {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string Rest()
    {
        SkipBlanks();
        return std::string(text_.substr(pos_));
    }

    std::size_t Position() const { return pos_; }
    void Reset(std::size_t position) { pos_ = position; }
    std::string Since(std::size_t start) const { return std::string(text_.substr(start, pos_ - start)); }

private:
    static void SetFraction(InchSize& size, long double whole, const NumberToken& numerator,
                            const NumberToken& denominator)
    {
        if (!numerator.Whole || !denominator.Whole || denominator.Value == 0 || denominator.Value > 1000 ||
            numerator.Value > 1000 || whole > 1000) {
            Refuse(DesignationRefusal::UnreadableNumber, numerator.Text + "/" + denominator.Text);
        }
        const int den = static_cast<int>(denominator.Value);
        const int num = static_cast<int>(numerator.Value) + static_cast<int>(whole) * den;
        size.HasFraction = true;
        size.Fraction = {num, den};
        size.Inches = static_cast<long double>(num) / den;
        size.Text = (whole > 0 ? std::to_string(static_cast<int>(whole)) + " " : std::string()) + numerator.Text + "/" +
                    denominator.Text;
    }

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
};

bool SameFraction(InchFraction a, InchFraction b)
{
    return static_cast<long long>(a.Numerator) * b.Denominator == static_cast<long long>(b.Numerator) * a.Denominator;
}

// A size matches a table entry by its fraction, or a decimal size by its
// diameter to the half of a ten-thousandth of an inch the tables are exact to.
bool SameSize(const InchSize& size, InchFraction entry)
{
    if (size.HasFraction) {
        return SameFraction(size.Fraction, entry);
    }
    return std::fabs(size.Inches - static_cast<long double>(entry.Numerator) / entry.Denominator) < 5e-7L;
}

long double InchesToMm(long double inches)
{
    return inches * MmPerInch;
}

// An ISO tolerance class such as 6g, 4h6h, 6H, 7e, 6H/6g. Small letters are
// the positions of external threads, capitals those of internal threads; a
// fit names both sides and so neither.
std::optional<ThreadSide> IsoClassSide(const std::string& token)
{
    const auto one = [&](std::string_view part) -> std::optional<ThreadSide> {
        std::optional<ThreadSide> side;
        std::size_t i = 0;
        int grades = 0;
        while (i < part.size()) {
            if (!(part[i] >= '3' && part[i] <= '9') || i + 1 >= part.size()) {
                Refuse(DesignationRefusal::UnknownClass, token);
            }
            const char letter = part[i + 1];
            ThreadSide thisSide;
            if (letter >= 'a' && letter <= 'h') {
                thisSide = ThreadSide::External;
            } else if (letter >= 'D' && letter <= 'H') {
                thisSide = ThreadSide::Internal;
            } else {
                Refuse(DesignationRefusal::UnknownClass, token);
            }
            if (side && *side != thisSide) {
                Refuse(DesignationRefusal::UnknownClass, token);
            }
            side = thisSide;
            i += 2;
            ++grades;
        }
        if (grades == 0 || grades > 2) {
            Refuse(DesignationRefusal::UnknownClass, token);
        }
        return side;
    };
    const auto slash = token.find('/');
    if (slash == std::string::npos) {
        return one(token);
    }
    const auto internal = one(std::string_view(token).substr(0, slash));
    const auto external = one(std::string_view(token).substr(slash + 1));
    if (internal != ThreadSide::Internal || external != ThreadSide::External) {
        Refuse(DesignationRefusal::UnknownClass, token);
    }
    return std::nullopt;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

// What may follow the thread proper: a tolerance class, a length of
// engagement (ISO metric), the hand. Separated by hyphens or blanks.
void ReadTail(Cursor& cursor, ThreadDesignation& thread)
{
    bool classRead = false;
    bool handRead = false;
    bool engagementRead = false;
    // Token() skips blanks, so the pipe class letter may follow the size
    // directly: "G1/2A".
    while (!cursor.AtEnd()) {
        const std::size_t start = cursor.Position();
        cursor.Take('-');
        const std::string token = cursor.Token();
        if (token.empty()) {
            cursor.Reset(start);
            Refuse(DesignationRefusal::UnexpectedText, cursor.Rest());
        }
        if (EqualNoCase(token, "LH") && !handRead) {
            handRead = true;
            continue;
        }
        if (handRead) {
            cursor.Reset(start);
            Refuse(DesignationRefusal::UnexpectedText, cursor.Rest());
        }
        if (classRead && thread.Form == ThreadForm::IsoMetric && !engagementRead &&
            (token == "S" || token == "N" || token == "L")) {
            engagementRead = true;
            continue;
        }
        const bool looksLikeClass = IsDigit(token.front()) || thread.Form == ThreadForm::ParallelPipe;
        if (classRead || !looksLikeClass) {
            cursor.Reset(start);
            Refuse(DesignationRefusal::UnexpectedText, cursor.Rest());
        }
        switch (thread.Form) {
        case ThreadForm::IsoMetric:
        case ThreadForm::Trapezoidal:
        case ThreadForm::Buttress: thread.Side = IsoClassSide(token); break;
        case ThreadForm::Unified:
            // ASME B1.1: classes 1A, 2A, 3A external, 1B, 2B, 3B internal.
            if (token.size() != 2 || token[0] < '1' || token[0] > '3' ||
                (Upper(token[1]) != 'A' && Upper(token[1]) != 'B')) {
                Refuse(DesignationRefusal::UnknownClass, token);
            }
            thread.Side = Upper(token[1]) == 'A' ? ThreadSide::External : ThreadSide::Internal;
            break;
        case ThreadForm::Acme:
            // ASME B1.5: general purpose 2G to 5G, centralizing 2C to 6C, the
            // same class for both sides.
            if (token.size() != 2 || token[0] < '2' || token[0] > '6' ||
                (Upper(token[1]) != 'G' && Upper(token[1]) != 'C') || (Upper(token[1]) == 'G' && token[0] == '6')) {
                Refuse(DesignationRefusal::UnknownClass, token);
            }
            break;
        case ThreadForm::ParallelPipe:
            // ISO 228-1: classes A and B exist for external threads only.
            if (!EqualNoCase(token, "A") && !EqualNoCase(token, "B")) {
                Refuse(IsDigit(token.front()) ? DesignationRefusal::UnexpectedText : DesignationRefusal::UnknownClass,
                       token);
            }
            thread.Side = ThreadSide::External;
            break;
        case ThreadForm::Whitworth: Refuse(DesignationRefusal::UnexpectedText, token);
        }
        thread.ToleranceClass = token;
        classRead = true;
    }
}

// "x P", "x Ph L P P" (ISO multi-start), "x L (P P)" or "x L P P"
// (trapezoidal and buttress multi-start). Fills pitch and starts.
void ReadPitchAndLead(Cursor& cursor, ThreadDesignation& thread, std::optional<long double> seriesPitch,
                      const std::string& sizeText)
{
    if (!cursor.Take('x')) {
        if (!seriesPitch) {
            Refuse(DesignationRefusal::SizeNotInSeries, sizeText);
        }
        thread.PitchMm = *seriesPitch;
        return;
    }
    std::optional<NumberToken> lead;
    if (thread.Form == ThreadForm::IsoMetric && cursor.TakeWord("Ph")) {
        lead = cursor.RequireNumber("Ph");
        if (!cursor.Take('P')) {
            Refuse(DesignationRefusal::MissingPitch, "Ph" + lead->Text);
        }
        thread.PitchMm = cursor.RequireNumber("P").Value;
    } else {
        const NumberToken first = cursor.RequireNumber("x");
        const bool multiStartForm = thread.Form != ThreadForm::IsoMetric;
        if (multiStartForm && cursor.Take('(')) {
            if (!cursor.Take('P')) {
                Refuse(DesignationRefusal::UnexpectedText, "(" + cursor.Rest());
            }
            thread.PitchMm = cursor.RequireNumber("P").Value;
            if (!cursor.Take(')')) {
                Refuse(DesignationRefusal::UnexpectedText, "(P" + cursor.Rest());
            }
            lead = first;
        } else if (multiStartForm && cursor.Peek() != '\0' && Upper(cursor.Peek()) == 'P') {
            cursor.Take('P');
            thread.PitchMm = cursor.RequireNumber("P").Value;
            lead = first;
        } else {
            thread.PitchMm = first.Value;
        }
    }
    if (lead) {
        if (thread.PitchMm <= 0.0L) {
            Refuse(DesignationRefusal::Implausible, "P0");
        }
        const long double ratio = lead->Value / thread.PitchMm;
        const long double starts = std::round(ratio);
        if (starts < 1.0L || std::fabs(ratio - starts) > 1e-9L * starts) {
            Refuse(DesignationRefusal::LeadNotMultiple, lead->Text);
        }
        if (starts > 100.0L) {
            Refuse(DesignationRefusal::Implausible, lead->Text);
        }
        thread.Starts = static_cast<int>(starts);
    }
}

std::optional<long double> MetricSeriesPitch(std::span<const MetricSeriesEntry> series, long double diameter)
{
    for (const MetricSeriesEntry& entry : series) {
        if (std::fabs(entry.DiameterMm - diameter) < 1e-9L) {
            return entry.PitchMm;
        }
    }
    return std::nullopt;
}

void ReadMetric(Cursor& cursor, ThreadDesignation& thread, std::span<const MetricSeriesEntry> series)
{
    const NumberToken diameter = cursor.RequireNumber("d");
    thread.MajorDiameterMm = diameter.Value;
    ReadPitchAndLead(cursor, thread, MetricSeriesPitch(series, diameter.Value), diameter.Text);
    ReadTail(cursor, thread);
}

void ReadPipe(Cursor& cursor, ThreadDesignation& thread)
{
    const InchSize size = cursor.TakeInchSize();
    const PipeSeriesEntry* found = nullptr;
    for (const PipeSeriesEntry& entry : ParallelPipeSeries()) {
        if (size.Numbered < 0 && size.HasFraction && SameFraction(size.Fraction, entry.Size)) {
            found = &entry;
        }
    }
    if (!found) {
        Refuse(DesignationRefusal::SizeNotInSeries, size.Text);
    }
    thread.MajorDiameterMm = found->MajorDiameterMm;
    thread.PitchMm = MmPerInch / found->ThreadsPerInch;
    ReadTail(cursor, thread);
}

template <typename Entry>
const Entry* FindInchEntry(std::span<const Entry> series, const InchSize& size)
{
    for (const Entry& entry : series) {
        if (SameSize(size, entry.Size)) {
            return &entry;
        }
    }
    return nullptr;
}

const UnifiedSeriesEntry* FindUnified(std::span<const UnifiedSeriesEntry> series, const InchSize& size,
                                      std::optional<long double> tpi)
{
    const auto matches = [&](const UnifiedSeriesEntry& entry, bool numbered) {
        if (numbered) {
            return entry.Number >= 0 && entry.Number == size.Numbered;
        }
        if (entry.Number >= 0) {
            // A decimal size may name a numbered size by its diameter (.190 is #10).
            return size.Numbered < 0 && !size.HasFraction &&
                   std::fabs(size.Inches - (0.060L + 0.013L * entry.Number)) < 5e-7L;
        }
        return size.Numbered < 0 && SameSize(size, entry.Size);
    };
    const UnifiedSeriesEntry* byInches = nullptr;
    const UnifiedSeriesEntry* byNumber = nullptr;
    for (const UnifiedSeriesEntry& entry : series) {
        if (matches(entry, size.Numbered >= 0)) {
            byInches = &entry;
        }
        // "10-32 UNF" is the numbered size 10: a bare whole number up to 12 is
        // read as the numbered size when only that reading fits the series.
        if (size.Whole && size.Inches <= 12 && entry.Number >= 0 && entry.Number == static_cast<int>(size.Inches)) {
            byNumber = &entry;
        }
    }
    const auto tpiFits = [&](const UnifiedSeriesEntry* entry) {
        return entry && (!tpi || std::fabs(*tpi - entry->ThreadsPerInch) < 1e-9L);
    };
    if (tpiFits(byInches)) {
        return byInches;
    }
    if (tpiFits(byNumber)) {
        return byNumber;
    }
    return byInches ? byInches : byNumber;
}

long double UnifiedDiameterInches(const UnifiedSeriesEntry& entry)
{
    return entry.Number >= 0 ? 0.060L + 0.013L * entry.Number
                             : static_cast<long double>(entry.Size.Numerator) / entry.Size.Denominator;
}

// Inch sizes written before the series: "1/4-20 UNC", "#10-32 UNF-2A",
// ".250-20 UNC-3B", "1-5 ACME", "1/2 BSW", "1/2-12 BSW".
void ReadInchSizeFirst(Cursor& cursor, ThreadDesignation& thread)
{
    const InchSize size = cursor.TakeInchSize();
    std::optional<NumberToken> tpi;
    if (cursor.Take('-')) {
        tpi = cursor.RequireNumber(size.Text + "-");
    }
    enum class Series { Unc, Unf, Un, Acme, Bsw, Bsf };
    Series series;
    if (cursor.TakeWord("UNC") || cursor.TakeWord("UNRC")) {
        series = Series::Unc;
    } else if (cursor.TakeWord("UNF") || cursor.TakeWord("UNRF")) {
        series = Series::Unf;
    } else if (cursor.TakeWord("UNEF") || cursor.TakeWord("UNS") || cursor.TakeWord("UNR") || cursor.TakeWord("UN")) {
        series = Series::Un;
    } else if (cursor.TakeWord("ACME")) {
        series = Series::Acme;
    } else if (cursor.TakeWord("BSW")) {
        series = Series::Bsw;
    } else if (cursor.TakeWord("BSF")) {
        series = Series::Bsf;
    } else {
        Refuse(DesignationRefusal::UnknownForm, cursor.AtEnd() ? size.Text : cursor.Word());
    }
    const std::optional<long double> tpiValue = tpi ? std::optional<long double>(tpi->Value) : std::nullopt;
    long double threadsPerInch = 0.0L;
    long double inches = size.Inches;
    switch (series) {
    case Series::Unc:
    case Series::Unf: {
        thread.Form = ThreadForm::Unified;
        const auto table = series == Series::Unc ? UnifiedCoarseSeries() : UnifiedFineSeries();
        const UnifiedSeriesEntry* entry = FindUnified(table, size, tpiValue);
        if (!entry) {
            Refuse(DesignationRefusal::SizeNotInSeries, size.Text);
        }
        if (tpi && std::fabs(tpi->Value - entry->ThreadsPerInch) >= 1e-9L) {
            Refuse(DesignationRefusal::PitchNotInSeries, tpi->Text);
        }
        threadsPerInch = entry->ThreadsPerInch;
        inches = UnifiedDiameterInches(*entry);
        break;
    }
    case Series::Un:
        thread.Form = ThreadForm::Unified;
        if (!tpi) {
            Refuse(DesignationRefusal::MissingPitch, size.Text);
        }
        threadsPerInch = tpi->Value;
        break;
    case Series::Acme:
        thread.Form = ThreadForm::Acme;
        if (size.Numbered >= 0) {
            Refuse(DesignationRefusal::SizeNotInSeries, size.Text);
        }
        if (tpi) {
            threadsPerInch = tpi->Value;
        } else if (const InchSeriesEntry* entry = FindInchEntry(AcmeSeries(), size)) {
            threadsPerInch = entry->ThreadsPerInch;
        } else {
            Refuse(DesignationRefusal::MissingPitch, size.Text);
        }
        break;
    case Series::Bsw:
    case Series::Bsf: {
        thread.Form = ThreadForm::Whitworth;
        const InchSeriesEntry* entry =
            size.Numbered >= 0
                ? nullptr
                : FindInchEntry(series == Series::Bsw ? WhitworthCoarseSeries() : WhitworthFineSeries(), size);
        if (!entry) {
            Refuse(DesignationRefusal::SizeNotInSeries, size.Text);
        }
        if (tpi && std::fabs(tpi->Value - entry->ThreadsPerInch) >= 1e-9L) {
            Refuse(DesignationRefusal::PitchNotInSeries, tpi->Text);
        }
        threadsPerInch = entry->ThreadsPerInch;
        break;
    }
    }
    if (threadsPerInch <= 0.0L) {
        Refuse(DesignationRefusal::Implausible, tpi ? tpi->Text : size.Text);
    }
    thread.InchSized = true;
    thread.MajorDiameterMm = InchesToMm(inches);
    thread.PitchMm = MmPerInch / threadsPerInch;
    ReadTail(cursor, thread);
}

// "BSW 1/2", "BSF 1/2": the series before the size.
void ReadBritishSeriesFirst(Cursor& cursor, ThreadDesignation& thread, bool fine)
{
    const InchSize size = cursor.TakeInchSize();
    const InchSeriesEntry* entry =
        size.Numbered >= 0 ? nullptr : FindInchEntry(fine ? WhitworthFineSeries() : WhitworthCoarseSeries(), size);
    if (!entry) {
        Refuse(DesignationRefusal::SizeNotInSeries, size.Text);
    }
    if (cursor.Take('-')) {
        const NumberToken tpi = cursor.RequireNumber(size.Text + "-");
        if (std::fabs(tpi.Value - entry->ThreadsPerInch) >= 1e-9L) {
            Refuse(DesignationRefusal::PitchNotInSeries, tpi.Text);
        }
    }
    thread.InchSized = true;
    thread.MajorDiameterMm = InchesToMm(size.Inches);
    thread.PitchMm = MmPerInch / entry->ThreadsPerInch;
    ReadTail(cursor, thread);
}

void SetProfile(ThreadDesignation& thread)
{
    switch (thread.Form) {
    case ThreadForm::IsoMetric:
    case ThreadForm::Unified: thread.BetaDeg = thread.GammaDeg = 30.0; break;
    case ThreadForm::Trapezoidal: thread.BetaDeg = thread.GammaDeg = 15.0; break;
    case ThreadForm::Buttress:
        thread.BetaDeg = 3.0;
        thread.GammaDeg = 30.0;
        break;
    case ThreadForm::Whitworth:
    case ThreadForm::ParallelPipe: thread.BetaDeg = thread.GammaDeg = 27.5; break;
    case ThreadForm::Acme: thread.BetaDeg = thread.GammaDeg = 14.5; break;
    }
}

bool StartsWithForm(std::string_view text, std::string_view letters)
{
    if (text.size() <= letters.size() || !EqualNoCase(text.substr(0, letters.size()), letters)) {
        return false;
    }
    const char next = text[letters.size()];
    return IsDigit(next) || next == ' ' || next == '.' || next == ',';
}

ThreadDesignation Read(const std::string& text, char separator)
{
    Cursor cursor(text, separator);
    ThreadDesignation thread;
    if (StartsWithForm(text, "TR")) {
        thread.Form = ThreadForm::Trapezoidal;
        cursor.Take('T');
        cursor.Take('R');
        ReadMetric(cursor, thread, TrapezoidalSeries());
    } else if (StartsWithForm(text, "M")) {
        thread.Form = ThreadForm::IsoMetric;
        cursor.Take('M');
        ReadMetric(cursor, thread, IsoMetricCoarseSeries());
    } else if (StartsWithForm(text, "S")) {
        thread.Form = ThreadForm::Buttress;
        cursor.Take('S');
        ReadMetric(cursor, thread, ButtressSeries());
    } else if (StartsWithForm(text, "G")) {
        thread.Form = ThreadForm::ParallelPipe;
        cursor.Take('G');
        ReadPipe(cursor, thread);
    } else if (StartsWithForm(text, "BSW") || StartsWithForm(text, "BSF")) {
        thread.Form = ThreadForm::Whitworth;
        const bool fine = Upper(text[2]) == 'F';
        cursor.TakeWord(fine ? "BSF" : "BSW");
        ReadBritishSeriesFirst(cursor, thread, fine);
    } else if (cursor.NextIsNumber() || cursor.Peek() == '#') {
        ReadInchSizeFirst(cursor, thread);
    } else {
        Refuse(DesignationRefusal::UnknownForm, cursor.Word());
    }
    SetProfile(thread);
    if (!(thread.MajorDiameterMm > 0.0L) || thread.MajorDiameterMm > 4000.0L) {
        Refuse(DesignationRefusal::Implausible, text);
    }
    // No thread of any standard is finer than a hundredth of a millimetre;
    // a finer pitch is a typing slip (or digits run on), not a thread.
    if (!(thread.PitchMm >= MinPitchMm) || thread.PitchMm > 100.0L) {
        Refuse(DesignationRefusal::Implausible, text);
    }
    thread.BasicPitchDiameterMm = BasicPitchDiameter(thread.Form, thread.MajorDiameterMm, thread.PitchMm);
    if (!(thread.BasicPitchDiameterMm > 0.0L)) {
        Refuse(DesignationRefusal::Implausible, text);
    }
    return thread;
}

} // namespace

long double BasicPitchDiameter(ThreadForm form, long double majorDiameterMm, long double pitchMm)
{
    switch (form) {
    case ThreadForm::IsoMetric:
    case ThreadForm::Unified: return majorDiameterMm - IsoFactor * pitchMm;
    case ThreadForm::Trapezoidal:
    case ThreadForm::Acme: return majorDiameterMm - 0.5L * pitchMm;
    case ThreadForm::Buttress: return majorDiameterMm - 0.75L * pitchMm;
    case ThreadForm::Whitworth:
    case ThreadForm::ParallelPipe: return majorDiameterMm - WhitworthFactor * pitchMm;
    }
    return majorDiameterMm;
}

DesignationReading ReadThreadDesignation(std::string_view text, char separator)
{
    DesignationReading reading;
    if (text.size() > 4 * MaxLength) {
        reading.Refusal = DesignationRefusal::TooLong;
        return reading;
    }
    const std::string normalized = Normalized(text);
    if (normalized.empty()) {
        reading.Refusal = DesignationRefusal::Empty;
        return reading;
    }
    if (normalized.size() > MaxLength) {
        reading.Refusal = DesignationRefusal::TooLong;
        return reading;
    }
    try {
        reading.Thread = Read(normalized, separator);
    } catch (const Refused& refused) {
        reading.Refusal = refused.Reason;
        reading.Offending = refused.Part;
    }
    return reading;
}

} // namespace zevko
