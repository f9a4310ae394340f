#include "mainwindow/FileNotice.h"

#include "canvas/FramePipeline.h"
#include "canvas/ImageCanvas.h"
#include "common/Logging.h"
#include "mainwindow/ModePages.h"
#include "mainwindow/RecordingControl.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

// Above the window's bottom bar.
constexpr int BottomMargin = 72;

void openLocal(const QString &path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        qCWarning(lcMainWindow) << "the desktop could not open" << path;
}

} // namespace

FileNotice::FileNotice(QWidget *parent)
    : QFrame(parent)
    , m_thumbnail(new QToolButton(this))
    , m_text(new QLabel(this))
    , m_openFolder(new QPushButton(tr("Open folder"), this))
    , m_hideTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("FileNotice"));
    setStyleSheet(QStringLiteral("#FileNotice { background: rgba(30, 32, 38, 230); border-radius: 6px; }"
                                 "#FileNotice QLabel { color: white; font-size: 13px; }"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(10);
    layout->addWidget(m_thumbnail);
    layout->addWidget(m_text);
    layout->addWidget(m_openFolder);
    m_thumbnail->setAutoRaise(true);
    m_thumbnail->setCursor(Qt::PointingHandCursor);
    m_openFolder->setCursor(Qt::PointingHandCursor);
    connect(m_thumbnail, &QToolButton::clicked, this, &FileNotice::openFile);
    connect(m_openFolder, &QPushButton::clicked, this, &FileNotice::openFolder);
    m_hideTimer->setSingleShot(true);
    m_hideTimer->setInterval(SHOWN_MS);
    connect(m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
    parent->installEventFilter(this);
    hide();
}

void FileNotice::showFile(const QString &text, const QString &path, const QImage &thumbnail)
{
    m_path = path;
    m_text->setText(text);
    m_text->setToolTip(QDir::toNativeSeparators(path));
    m_thumbnail->setVisible(!thumbnail.isNull());
    if (!thumbnail.isNull()) {
        const QPixmap picture = QPixmap::fromImage(
            thumbnail.scaledToHeight(THUMBNAIL_HEIGHT, Qt::SmoothTransformation));
        m_thumbnail->setIcon(picture);
        m_thumbnail->setIconSize(picture.size());
        m_thumbnail->setToolTip(tr("Open %1").arg(QFileInfo(path).fileName()));
    }
    adjustSize();
    place();
    show();
    raise();
    m_hideTimer->start();
}

void FileNotice::showSnapshot(const QString &path, const QImage &thumbnail)
{
    showFile(tr("Snapshot saved: %1").arg(QFileInfo(path).fileName()), path, thumbnail);
}

void FileNotice::showRecording(const QString &path)
{
    showFile(tr("Recording saved: %1").arg(QFileInfo(path).fileName()), path);
}

QString FileNotice::text() const
{
    return m_text->text();
}

void FileNotice::openFolder() const
{
    openLocal(QFileInfo(m_path).absolutePath());
}

void FileNotice::openFile() const
{
    openLocal(m_path);
}

bool FileNotice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        place();
    return QFrame::eventFilter(watched, event);
}

void FileNotice::place()
{
    const QWidget *window = parentWidget();
    move((window->width() - width()) / 2, window->height() - height() - BottomMargin);
}

void FileNotice::follow(const ModePages &pages, const RecordingControl &recordings)
{
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        connect(pages.canvas(WindowMode(m))->pipeline(), &FramePipeline::snapshotSaved, this,
                &FileNotice::showSnapshot, Qt::QueuedConnection);
    connect(&recordings, &RecordingControl::recordingSaved, this, &FileNotice::showRecording);
}
