#pragma once

#include "toolwindows/ToolWindow.h"

class ImageButton;
class QLabel;
class ToolWindowHost;

// The about popup: the about picture, the version line and an OK button that hides it.
//
// Threads: GUI thread only.
class AboutToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr double Version = 3.0;

    AboutToolWindow(QWidget *anchor, ToolWindowHost *host, const QImage &background);

    QLabel *versionLabel() const { return m_versionLabel; }
    ImageButton *okButton() const { return m_okButton; }

public slots:
    void AboutOk();

private:
    ToolWindowHost *m_host = nullptr;
    QLabel *m_versionLabel = nullptr;
    ImageButton *m_okButton = nullptr;
};
