#include "CatalogMessages.h"

#include "LangsExt.h"

#include <string_view>

namespace {

struct MessageForm {
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

QString CatalogMessageText(const zevko::CatalogFileError& error)
{
    int number = 1012;
    switch (error.Fault) {
    case zevko::CatalogFileFault::CannotWrite: number = 1012; break;
    case zevko::CatalogFileFault::CannotRead: number = 1017; break;
    case zevko::CatalogFileFault::NotANumber: number = 1018; break;
    case zevko::CatalogFileFault::Locked: number = 1021; break;
    case zevko::CatalogFileFault::UnknownEncoding: number = 1022; break;
    }
    const QString text = LanguageText(number);
    // One substitution of the whole subject: a "%1" in a file name stays.
    return text.isEmpty() ? QString::fromStdString(error.Text()) : text.arg(QString::fromStdString(error.Subject));
}
