#pragma once

#include "canvas/ProjectorWindow.h"

#include <QList>
#include <QObject>
#include <QPointer>

class FramePipeline;
class ImageButton;
class WindowCommands;
class QScreen;
class QWidget;

// The projector screen: while a second screen is attached, opens a full-screen window on a screen
// other than the main window's that shows the current canvas's picture (ProjectorWindow), keeps
// it on the canvas of the current mode, moves it to the next screen on demand and remembers the
// screen chosen ("projectorScreen"). When that screen goes, the window closes.
//
// Threads: GUI thread only.
class ProjectorControl : public QObject
{
    Q_OBJECT
public:
    // The window is a child of `mainWindow`, whose screen it leaves to the presenter.
    explicit ProjectorControl(QWidget *mainWindow);
    ~ProjectorControl() override;

    // Whether a screen other than the main window's is attached.
    bool isAvailable() const { return !otherScreens().isEmpty(); }
    bool isOpen() const;
    ProjectorWindow *window() const { return m_window; }
    // The screen the window is shown on; none while closed.
    QScreen *screen() const;

    // The window's projector button and the commands' keys follow whether a second screen is
    // attached and whether the window is open; a click opens or closes it.
    void attachButton(ImageButton *button, WindowCommands *commands);

    // The canvas pipeline whose pictures the window shows (the current mode's).
    void setPipeline(FramePipeline *pipeline);

public slots:
    // Opens the window on the remembered screen (or the first other one), or closes it.
    void toggle();
    void open();
    void close();
    // Moves the open window to the next screen other than the main window's and remembers it.
    void moveToNextScreen();

signals:
    void availabilityChanged(bool available);
    void openChanged(bool open);

private:
    QList<QScreen *> otherScreens() const;
    QScreen *rememberedScreen() const;
    void showOn(QScreen *screen);
    void screensChanged();
    void screenRemoved(QScreen *screen);
    void showAvailability(bool available);

    QWidget *m_mainWindow;
    QPointer<FramePipeline> m_pipeline;
    QPointer<ProjectorWindow> m_window;
    bool m_available = false;
    QPointer<ImageButton> m_button;
    WindowCommands *m_commands = nullptr;
};
