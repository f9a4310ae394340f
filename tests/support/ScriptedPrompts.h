#pragma once

#include "common/UserPrompts.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Answers the program's modal boxes and folder choosers from a script while installed (for its
// lifetime), and records what was asked. An empty script answers the escape button, and a
// cancelled chooser (an empty path).
class ScriptedPrompts : public UserPrompts
{
    Q_OBJECT
public:
    struct Asked
    {
        QWidget *parent;
        QString title;
        QString text;
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;

    QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton escapeButton) override;
    void critical(QWidget *parent, const QString &title, const QString &text) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    QString existingDirectory(QWidget *parent, const QString &caption,
                              const QString &startDirectory) override;

    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> directories;
    QVector<Asked> questions;
    QVector<Asked> errors;
    QVector<Asked> notices; // information boxes
    // Runs while a box is up, before it is answered.
    std::function<void()> whileShown;
    int directoryRequests = 0;
};
