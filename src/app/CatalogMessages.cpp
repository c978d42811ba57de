#include "CatalogMessages.h"

#include "LangsExt.h"

#include <string_view>

namespace {

struct MessageForm
{
    std::string_view prefix;
    std::string_view suffix;
    int text;
    const char* english;
};

// The forms the catalog file writes, with the text that says it here.
constexpr MessageForm Forms[] = {
    {"Unable to write to ", "", 1012, "Unable to write to %1"},
    {"Unable to read ", "", 1017, "Unable to read %1"},
    {"'", "' is not a valid floating point value", 1018, "'%1' is not a valid floating point value"},
};

} // namespace

QString CatalogMessageText(const std::string& message)
{
    const std::string_view text(message);
    for (const MessageForm& form : Forms) {
        if (text.size() <= form.prefix.size() + form.suffix.size() || !text.starts_with(form.prefix) ||
            !text.ends_with(form.suffix))
            continue;
        const std::string_view part =
            text.substr(form.prefix.size(), text.size() - form.prefix.size() - form.suffix.size());
        const QString argument = QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size()));
        // One substitution of the whole argument: a "%1" in a file name or
        // a value stays as it is.
        return LanguageTextOr(form.text, QString::fromLatin1(form.english)).arg(argument);
    }
    return QString::fromStdString(message);
}
