#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The interface language of the program: the numbered text table of the
// current language, loaded from the embedded resources :/LANG/BG, :/LANG/DE
// and :/LANG/EN, and the lookup of a text by its number.
//
// One instance for the whole program, used from the GUI thread only. main()
// initialises the module before the main window exists and finalises it after
// the window is gone (LangsExtScope does both).

using LanguageId = int;
inline constexpr LanguageId LanguageBulgarian = 1;
inline constexpr LanguageId LanguageGerman = 2;
inline constexpr LanguageId LanguageEnglish = 3;

// The language of the last SetLanguage; 1 (Bulgarian) before the first one.
LanguageId CurrentLanguage();

// The lines of the table last loaded, in their stored form "N=text"; empty
// when that load failed or the id was not 1 to 3.
QStringList LanguageTable();

// Loads the table of `id` (1 Bulgarian, 2 German, 3 English) and makes `id`
// the current language, also when nothing could be loaded: then, and for any
// other id, the table is empty and every text reads as empty. Every call,
// including one for the language already in use, records `id` as "Lang" in
// the suite's settings key (see WriteSuiteLanguage). Never fails, never shows
// anything.
void SetLanguage(LanguageId id);

// Text `number` of the current table; an empty text for a number the table
// does not hold (0, 235, -1, ...) and while the table is empty.
QString LanguageText(int number);

// Copies the embedded table ":/LANG/<resourceName>" into `stream` and returns
// true. When it cannot be read, returns false and leaves `stream` as it was;
// the message "Can't load lang: <languageName>" goes to `failureMessage` when
// given, else it is dropped, so a missing table is silent.
bool LoadLanguageResource(const QString& resourceName, const QString& languageName, QByteArray& stream,
                          QString* failureMessage = nullptr);

// Writes "Lang" = id (a 32-bit integer) under the suite's key
// \Software\Brantel\ProgramKey\Settings\Default of the current user: the
// registry on Windows, the user's configuration directory elsewhere
// (Brantel/ProgramKey.conf, group Settings/Default). The program never reads
// it back; a key that cannot be written is passed over silently.
void WriteSuiteLanguage(LanguageId id);

// Module start: an empty table, then SetLanguage(CurrentLanguage()), which is
// the Bulgarian table and "Lang" = 1 at program start. Call once the
// QApplication exists and before the main window is created.
void InitializeLangsExt();

// Module end: releases the table. Call after the main window is destroyed.
void FinalizeLangsExt();

// Initialises the module for its lifetime: declare one in main() after the
// QApplication and before the main window.
class LangsExtScope
{
public:
    LangsExtScope() { InitializeLangsExt(); }
    ~LangsExtScope() { FinalizeLangsExt(); }
    LangsExtScope(const LangsExtScope&) = delete;
    LangsExtScope& operator=(const LangsExtScope&) = delete;
};
