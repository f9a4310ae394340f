#include "common/UnattendedPrompts.h"

#include "common/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Between the kept messages: a line no message has.
const char Separator[] = "\n\x1e\n";

} // namespace

UnattendedPrompts::UnattendedPrompts(QObject *parent)
    : UserPrompts(parent)
{ }

QMessageBox::StandardButton UnattendedPrompts::question(QWidget *, const QString &title, const QString &text,
                                                        QMessageBox::StandardButtons,
                                                        QMessageBox::StandardButton escapeButton)
{
    qCWarning(lcApp).noquote() << "ending: not asked" << title << ":" << text;
    return escapeButton;
}

void UnattendedPrompts::critical(QWidget *, const QString &title, const QString &text)
{
    qCWarning(lcApp).noquote() << "ending: not shown" << title << ":" << text;
    keep(text);
}

void UnattendedPrompts::information(QWidget *, const QString &title, const QString &text)
{
    qCInfo(lcApp).noquote() << "ending: not shown" << title << ":" << text;
    keep(text);
}

QString UnattendedPrompts::existingDirectory(QWidget *, const QString &, const QString &)
{
    return QString();
}

QString UnattendedPrompts::leftMessagesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
        + QStringLiteral("/messages for the next start");
}

void UnattendedPrompts::keep(const QString &text)
{
    const QString path = leftMessagesFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)
        || file.write(text.toUtf8() + QByteArray(Separator)) < 0) {
        qCWarning(lcApp) << "cannot keep the message for the next start in" << path << file.errorString();
    }
}

QStringList UnattendedPrompts::takeLeftMessages()
{
    QFile file(leftMessagesFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    file.remove();
    QStringList messages;
    for (const QByteArray &part : all.split('\x1e')) {
        const QString text = QString::fromUtf8(part).trimmed();
        if (!text.isEmpty())
            messages << text;
    }
    return messages;
}
