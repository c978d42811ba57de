#include "LangsExt.h"

#include "LanguageTableReader.h"

#include <QFile>
#include <QSettings>

#include <string_view>

namespace {

struct LanguageResource
{
    LanguageId id;
    const char* resourceName;
    const char* languageName; // as the load-failure message has always spelt it
};

constexpr LanguageResource Resources[] = {
    {LanguageBulgarian, "BG", "Bulgarian"},
    {LanguageGerman, "DE", "German"},
    {LanguageEnglish, "EN", "Emglish"},
};

LanguageId currentLanguage = LanguageBulgarian;
zevko::LanguageLines languageTable;

} // namespace

LanguageId CurrentLanguage()
{
    return currentLanguage;
}

QStringList LanguageTable()
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(languageTable.size()));
    for (const std::u16string& line : languageTable)
        lines.append(QString::fromStdU16String(line));
    return lines;
}

bool LoadLanguageResource(const QString& resourceName, const QString& languageName, QByteArray& stream,
                          QString* failureMessage)
{
    // A name, not a path: nothing outside the tables is reachable through it.
    const bool validName = !resourceName.isEmpty() && !resourceName.contains(u'/') && !resourceName.contains(u'\\');
    QFile resource(QStringLiteral(":/LANG/") + resourceName);
    if (!validName || !resource.open(QIODevice::ReadOnly)) {
        const QString message = QStringLiteral("Can't load lang: ") + languageName;
        if (failureMessage)
            *failureMessage = message;
        return false;
    }
    stream = resource.readAll();
    return true;
}

void WriteSuiteLanguage(LanguageId id)
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantel"),
                  QStringLiteral("ProgramKey"));
    key.beginGroup(QStringLiteral("Settings/Default"));
    key.setValue(QStringLiteral("Lang"), static_cast<qint32>(id));
    key.endGroup();
    key.sync();
}

void SetLanguage(LanguageId id)
{
    QByteArray stream;
    for (const LanguageResource& resource : Resources) {
        if (resource.id == id)
            LoadLanguageResource(QString::fromLatin1(resource.resourceName),
                                 QString::fromLatin1(resource.languageName), stream);
    }
    currentLanguage = id;
    languageTable = zevko::ReadLanguageTable(
        std::string_view(stream.constData(), static_cast<std::size_t>(stream.size())));
    WriteSuiteLanguage(id);
}

QString LanguageText(int number)
{
    return QString::fromStdU16String(zevko::FindLanguageText(languageTable, number));
}

void InitializeLangsExt()
{
    languageTable.clear();
    SetLanguage(currentLanguage);
}

void FinalizeLangsExt()
{
    zevko::LanguageLines().swap(languageTable);
}
