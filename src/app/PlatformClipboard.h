#pragma once

#include <QString>

// Replaces the system clipboard's content with `text` as plain Unicode text.
// False when there is no clipboard to write to or it did not take the text
// (another program holding it); the old content may then still be there.
bool PutClipboardText(const QString& text);
