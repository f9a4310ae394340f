#include "common/UserPrompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QVariant>

namespace {

// The installed instance lives in the application object's property rather than in a static:
// it belongs to the running application, and a test's application starts with none.
const char InstalledProperty[] = "doccam.userPrompts";

UserPrompts *defaultPrompts()
{
    QCoreApplication *app = QCoreApplication::instance();
    auto *prompts = app->findChild<UserPrompts *>(QStringLiteral("doccam.defaultUserPrompts"),
                                                  Qt::FindDirectChildrenOnly);
    if (!prompts) {
        prompts = new UserPrompts(app);
        prompts->setObjectName(QStringLiteral("doccam.defaultUserPrompts"));
    }
    return prompts;
}

} // namespace

UserPrompts::UserPrompts(QObject *parent)
    : QObject(parent)
{ }

UserPrompts::~UserPrompts()
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        if (app->property(InstalledProperty).value<QObject *>() == this)
            app->setProperty(InstalledProperty, QVariant());
    }
}

QMessageBox::StandardButton UserPrompts::question(QWidget *parent, const QString &title, const QString &text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton escapeButton)
{
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    box.setEscapeButton(escapeButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void UserPrompts::critical(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text);
}

void UserPrompts::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text);
}

QString UserPrompts::existingDirectory(QWidget *parent, const QString &caption, const QString &startDirectory)
{
    return QFileDialog::getExistingDirectory(parent, caption, startDirectory, QFileDialog::ShowDirsOnly);
}

UserPrompts *UserPrompts::instance()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (auto *installed = qobject_cast<UserPrompts *>(app->property(InstalledProperty).value<QObject *>()))
        return installed;
    return defaultPrompts();
}

void UserPrompts::install(UserPrompts *prompts)
{
    QCoreApplication::instance()->setProperty(InstalledProperty, QVariant::fromValue<QObject *>(prompts));
}
