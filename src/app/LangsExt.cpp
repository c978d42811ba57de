#include "LangsExt.h"

#include "LanguageTableReader.h"

#include <QFile>
#include <QSettings>

#include <string_view>

namespace {

struct LanguageResource {
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
zevko::LanguageLines supplementTable;

// The supplement of the table "BG" is "BG2".
const char* const SupplementSuffix = "2";

QStringList ToStringList(const zevko::LanguageLines& table)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(table.size()));
    for (const std::u16string& line : table)
        lines.append(QString::fromStdU16String(line));
    return lines;
}

zevko::LanguageLines ReadTable(const QByteArray& stream)
{
    return zevko::ReadLanguageTable(std::string_view(stream.constData(), static_cast<std::size_t>(stream.size())));
}

} // namespace

LanguageId CurrentLanguage()
{
    return currentLanguage;
}

QStringList LanguageTable()
{
    return ToStringList(languageTable);
}

QStringList LanguageSupplementTable()
{
    return ToStringList(supplementTable);
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
    QByteArray supplement;
    for (const LanguageResource& resource : Resources) {
        if (resource.id != id)
            continue;
        const QString name = QString::fromLatin1(resource.resourceName);
        const QString languageName = QString::fromLatin1(resource.languageName);
        LoadLanguageResource(name, languageName, stream);
        LoadLanguageResource(name + QLatin1String(SupplementSuffix), languageName, supplement);
    }
    currentLanguage = id;
    languageTable = ReadTable(stream);
    supplementTable = ReadTable(supplement);
    WriteSuiteLanguage(id);
}

QString LanguageText(int number)
{
    const zevko::LanguageLines& table = number >= FirstSupplementText ? supplementTable : languageTable;
    return QString::fromStdU16String(zevko::FindLanguageText(table, number));
}

QString LanguageTextOr(int number, const QString& fallback)
{
    QString text = LanguageText(number);
    return text.isEmpty() ? fallback : text;
}

void InitializeLangsExt()
{
    languageTable.clear();
    supplementTable.clear();
    SetLanguage(currentLanguage);
}

void FinalizeLangsExt()
{
    zevko::LanguageLines().swap(languageTable);
    zevko::LanguageLines().swap(supplementTable);
}
