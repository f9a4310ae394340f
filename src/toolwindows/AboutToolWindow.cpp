#include "toolwindows/AboutToolWindow.h"

#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

#include <QFont>
#include <QLabel>

AboutToolWindow::AboutToolWindow(QWidget *anchor, ToolWindowHost *host, const QImage &background)
    : ToolWindow(background, anchor, host->hostWidget(), tr("About"))
    , m_host(host)
{
    const QString version = QString::asprintf(" %.2f", Version);
    setStyleSheet(QStringLiteral("QLabel { font-family: Arial; font-size: ") + QStringLiteral("14")
                  + QStringLiteral("px; color: gray; }QLineEdit { width: 124px; } QComboBox { "
                                   "width: 124px; } "));
    m_versionLabel = new QLabel(tr("Version") + version, this);
    m_versionLabel->move(20, 30);
    m_okButton = new ImageButton(QStringLiteral("POPUP_BUTTON"), this, QPoint(90, 70));
    m_okButton->setText(tr("OK"));
    // The caption face of the settings popup's buttons: the same button reads the same, and
    // longer translations of "OK" fit.
    m_okButton->setFont(QFont(QStringLiteral("Calibri"), 8));
    connect(m_okButton, &ImageButton::clicked, this, &AboutToolWindow::AboutOk);
}

void AboutToolWindow::AboutOk()
{
    close();
}
