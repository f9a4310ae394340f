#pragma once

#include "common/UserPrompts.h"

#include <QStringList>

// The prompts of a program that is ending on its own, with nobody to answer (a termination
// signal from a logout): no box is shown or waited on. A question takes its escape button, a
// chooser is cancelled, and what a box would have said is logged and kept to be said at the
// next start (takeLeftMessages()).
//
// Threads: GUI thread only, as UserPrompts.
class UnattendedPrompts : public UserPrompts
{
    Q_OBJECT
public:
    explicit UnattendedPrompts(QObject *parent = nullptr);

    QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton escapeButton) override;
    void critical(QWidget *parent, const QString &title, const QString &text) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    QString existingDirectory(QWidget *parent, const QString &caption,
                              const QString &startDirectory) override;

    // The messages kept by an earlier run, oldest first, forgotten once taken.
    static QStringList takeLeftMessages();

private:
    static QString leftMessagesFile();
    static void keep(const QString &text);
};
