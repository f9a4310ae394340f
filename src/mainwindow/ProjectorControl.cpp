#include "mainwindow/ProjectorControl.h"

#include "canvas/FramePipeline.h"
#include "canvas/ProjectorWindow.h"
#include "common/Config.h"
#include "common/Logging.h"
#include "mainwindow/WindowCommands.h"
#include "widgets/ImageButton.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

ProjectorControl::ProjectorControl(QWidget *mainWindow)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
{
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &ProjectorControl::screensChanged);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ProjectorControl::screenRemoved);
    m_available = isAvailable();
}

ProjectorControl::~ProjectorControl()
{
    // The window reads a canvas's pipeline while it paints; it goes before the canvases do.
    delete m_window.data();
}

bool ProjectorControl::isOpen() const
{
    return m_window && m_window->isVisible();
}

QScreen *ProjectorControl::screen() const
{
    return isOpen() ? m_window->shownScreen() : nullptr;
}

QList<QScreen *> ProjectorControl::otherScreens() const
{
    const QScreen *own = m_mainWindow->windowHandle() ? m_mainWindow->windowHandle()->screen()
                                                      : QGuiApplication::primaryScreen();
    QList<QScreen *> others;
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != own)
            others.append(screen);
    }
    return others;
}

QScreen *ProjectorControl::rememberedScreen() const
{
    const QList<QScreen *> others = otherScreens();
    if (others.isEmpty())
        return nullptr;
    const QString remembered = Config::projectorScreen();
    for (QScreen *screen : others) {
        if (screen->name() == remembered)
            return screen;
    }
    return others.first();
}

void ProjectorControl::setPipeline(FramePipeline *pipeline)
{
    m_pipeline = pipeline;
    if (m_window)
        m_window->setPipeline(pipeline);
}

void ProjectorControl::toggle()
{
    if (isOpen())
        close();
    else
        open();
}

void ProjectorControl::open()
{
    QScreen *screen = rememberedScreen();
    if (!screen) {
        qCInfo(lcMainWindow) << "no second screen for the projector window";
        return;
    }
    showOn(screen);
}

void ProjectorControl::showOn(QScreen *screen)
{
    const bool wasOpen = isOpen();
    if (!m_window) {
        m_window = new ProjectorWindow(m_mainWindow);
        m_window->setPipeline(m_pipeline);
    }
    m_window->showOn(screen);
    Config::setProjectorScreen(screen->name());
    qCInfo(lcMainWindow) << "projector window on" << screen->name() << screen->geometry();
    if (!wasOpen)
        emit openChanged(true);
}

void ProjectorControl::close()
{
    if (!m_window)
        return;
    const bool wasOpen = isOpen();
    // Hidden at once, deleted once the event that closed it is over (a screen that goes away
    // is still being taken down while it tells).
    m_window->hide();
    m_window->deleteLater();
    m_window.clear();
    if (wasOpen)
        emit openChanged(false);
}

void ProjectorControl::moveToNextScreen()
{
    const QList<QScreen *> others = otherScreens();
    if (!isOpen() || others.isEmpty())
        return;
    const int at = others.indexOf(m_window->shownScreen());
    showOn(others.at((at + 1) % others.size()));
}

void ProjectorControl::screensChanged()
{
    const bool available = isAvailable();
    if (available != m_available) {
        m_available = available;
        emit availabilityChanged(available);
    }
}

void ProjectorControl::screenRemoved(QScreen *screen)
{
    if (m_window && m_window->shownScreen() == screen) {
        qCInfo(lcMainWindow) << "the projector's screen" << screen->name() << "went; projector window closed";
        close();
    }
    // The list of screens changes after this signal; look at it once it has.
    QMetaObject::invokeMethod(this, &ProjectorControl::screensChanged, Qt::QueuedConnection);
}

void ProjectorControl::attachButton(ImageButton *button, WindowCommands *commands)
{
    m_button = button;
    m_commands = commands;
    connect(button, &ImageButton::clicked, this, [this] {
        toggle();
        m_button->setChecked(isOpen());
    });
    connect(this, &ProjectorControl::openChanged, button, &ImageButton::setChecked);
    connect(this, &ProjectorControl::availabilityChanged, this, &ProjectorControl::showAvailability);
    showAvailability(isAvailable());
}

void ProjectorControl::showAvailability(bool available)
{
    if (!m_button || !m_commands)
        return;
    m_button->setEnabled(available);
    m_commands->setAvailable(Command::Projector, available);
    m_commands->setAvailable(Command::ProjectorNextScreen, available);
    m_commands->describe(Command::Projector, m_button);
    // The main window's text: translated with the window's other texts.
    if (!available)
        m_button->setToolTip(m_button->toolTip() + QLatin1Char('\n')
                             + QCoreApplication::translate("MainWindow", "Connect a second screen first."));
}
