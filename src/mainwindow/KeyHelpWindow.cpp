#include "mainwindow/KeyHelpWindow.h"

#include "mainwindow/ActionTable.h"
#include "widgets/ImageButton.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>

namespace {

constexpr int Width = 660;
constexpr int Height = 560;
constexpr int Margin = 8;
const QColor FrameColour(0x1e, 0x21, 0x27);
const QColor PanelColour(0x2a, 0x2e, 0x35);

using Section = CommandSpec::Section;

// The sections of one column, as rich text.
QString columnText(std::initializer_list<Section> sections, const QString &note = QString())
{
    QString html = QStringLiteral("<html><body style=\"color:#eceff1;\">");
    for (const Section section : sections) {
        html +=
            QStringLiteral(
                "<p style=\"margin-top:10px; margin-bottom:4px; font-weight:bold; color:#90caf9;\">%1</p>")
                .arg(ActionTable::sectionTitle(section).toHtmlEscaped());
        html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
        for (const CommandSpec &command : ActionTable::commands()) {
            if (command.section != section)
                continue;
            html += QStringLiteral("<tr><td style=\"padding-right:14px;\">%1</td><td><b>%2</b></td></tr>")
                        .arg(ActionTable::name(command).toHtmlEscaped(),
                             ActionTable::keyText(command).toHtmlEscaped());
        }
        html += QStringLiteral("</table>");
    }
    if (!note.isEmpty())
        html +=
            QStringLiteral("<p style=\"margin-top:12px; color:#8a929e;\">%1</p>").arg(note.toHtmlEscaped());
    return html + QStringLiteral("</body></html>");
}

QLabel *columnLabel(const QString &html, QWidget *parent)
{
    auto *label = new QLabel(html, parent);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("font-family: Arial; font-size: 13px;"));
    return label;
}

} // namespace

KeyHelpWindow::KeyHelpWindow(QWidget *parent)
    : FramelessWindow(QImage(), true, parent)
{
    setMinimumSize(Width, Height);
    resize(Width, Height);
    setWindowTitle(QCoreApplication::translate("MainWindow", "Keys"));

    m_title = new QLabel(QCoreApplication::translate("MainWindow", "Keys"), this);
    m_title->setStyleSheet(QStringLiteral("font-family: Arial; font-size: 14px; color: white;"));
    m_title->move(Margin, 4);
    m_close = new ImageButton(QStringLiteral("POPUP_CLOSE"), this, QPoint(0, 0));
    m_close->setToolTip(QCoreApplication::translate("MainWindow", "Close"));
    m_close->setAccessibleName(QCoreApplication::translate("MainWindow", "Close"));
    connect(m_close, &ImageButton::clicked, this, &KeyHelpWindow::close);

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    // A slim bar in the panel's colours: the platform's own looks out of place on the dark skin.
    m_scroll->setStyleSheet(QStringLiteral(
        "QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"
        "QScrollBar:vertical { background: #2a2e35; width: 8px; margin: 0; border: none; }"
        "QScrollBar::handle:vertical { background: #5c6470; min-height: 24px; border-radius: 4px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    auto *content = new QWidget;
    auto *columns = new QHBoxLayout(content);
    columns->setContentsMargins(4, 0, 4, 4);
    columns->setSpacing(24);
    const QString note = QCoreApplication::translate("MainWindow",
                                                     "Hold a drawing button to choose its colour and width.")
        + QLatin1Char(' ')
        + QCoreApplication::translate("MainWindow",
                                      "Single keys do nothing while you type a text on the picture.");
    m_left = columnLabel(
        columnText({Section::Drawing, Section::Picture, Section::Camera, Section::Output}, note), content);
    m_right = columnLabel(columnText({Section::Modes, Section::Film, Section::Photograph, Section::Window}),
                          content);
    columns->addWidget(m_left, 1, Qt::AlignTop);
    columns->addWidget(m_right, 1, Qt::AlignTop);
    m_scroll->setWidget(content);
}

void KeyHelpWindow::showOverParent()
{
    if (QWidget *owner = parentWidget())
        move(owner->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void KeyHelpWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), PanelColour);
    painter.fillRect(QRect(0, 0, width(), TitleBand), FrameColour);
}

void KeyHelpWindow::resizeEvent(QResizeEvent *event)
{
    FramelessWindow::resizeEvent(event);
    m_close->move(width() - 18, 4);
    m_scroll->setGeometry(Margin, TitleBand + 2, width() - 2 * Margin, height() - TitleBand - 2 - Margin);
}

void KeyHelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::HelpContents)
        || event->key() == Qt::Key_F1) {
        close();
        return;
    }
    FramelessWindow::keyPressEvent(event);
}

void KeyHelpWindow::closeEvent(QCloseEvent *event)
{
    FramelessWindow::closeEvent(event);
    // The keys act on the main window again; without a window manager nobody else gives it the
    // focus back.
    QWidget *owner = parentWidget();
    if (event->isAccepted() && owner && owner->isVisible())
        owner->activateWindow();
}
