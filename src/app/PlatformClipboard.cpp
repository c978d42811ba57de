#include "PlatformClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

bool PutClipboardText(const QString& text)
{
    if (QGuiApplication::instance() == nullptr)
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    // Qt reports no failure of its own (on Windows it gives up on a clipboard
    // that another program keeps open); what it holds now tells.
    return clipboard->text(QClipboard::Clipboard) == text;
}
