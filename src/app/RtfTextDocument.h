#pragma once

// Puts RTF documents into Qt's text documents: the help page shows the
// manuals through this, since Qt itself reads no RTF.

class QByteArray;
class QString;
class QTextDocument;
class QTextEdit;

// Replaces the whole content of doc with the RTF document rtf. Damaged RTF
// gives whatever text could be read; it never fails.
void LoadRtfIntoDocument(const QByteArray& rtf, QTextDocument* doc);

// Replaces the content of edit with the RTF document at path (a file or a
// resource such as ":/RCDATA/RTF_EN") and shows its beginning. Returns false,
// leaving edit empty, when path cannot be read.
bool LoadRtfResource(QTextEdit* edit, const QString& path);
