#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>

class QWidget;

// The program's modal questions, error boxes and folder choosers go through one object, so that
// every place that asks the user can be driven without a person at the keyboard. The process
// uses the default instance, which shows the toolkit's own boxes; a test installs an instance
// of its own that answers at once.
//
// Threads: GUI thread only (modal boxes run a nested event loop on it).
class UserPrompts : public QObject
{
    Q_OBJECT
public:
    explicit UserPrompts(QObject *parent = nullptr);
    ~UserPrompts() override;

    // A box with the given buttons; returns the button chosen (Escape: `escapeButton`).
    virtual QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton escapeButton);
    virtual void critical(QWidget *parent, const QString &title, const QString &text);
    // A box that reports what went well (the information icon).
    virtual void information(QWidget *parent, const QString &title, const QString &text);
    // The platform's directory chooser showing folders only; empty when cancelled.
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &startDirectory);

    // The instance in use: the one installed last, or the default one.
    static UserPrompts *instance();
    // Installs `prompts` (not owned; null restores the default). The caller keeps it alive
    // while it is installed.
    static void install(UserPrompts *prompts);
};
