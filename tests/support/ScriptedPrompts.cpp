#include "ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts()
{
    UserPrompts::install(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    UserPrompts::install(nullptr);
}

QMessageBox::StandardButton ScriptedPrompts::question(QWidget *parent, const QString &title,
                                                      const QString &text, QMessageBox::StandardButtons,
                                                      QMessageBox::StandardButton escapeButton)
{
    questions.append({parent, title, text});
    return answers.isEmpty() ? escapeButton : answers.dequeue();
}

void ScriptedPrompts::critical(QWidget *parent, const QString &title, const QString &text)
{
    if (whileShown)
        whileShown();
    errors.append({parent, title, text});
}

void ScriptedPrompts::information(QWidget *parent, const QString &title, const QString &text)
{
    notices.append({parent, title, text});
}

QString ScriptedPrompts::existingDirectory(QWidget *, const QString &, const QString &)
{
    ++directoryRequests;
    return directories.isEmpty() ? QString() : directories.dequeue();
}
