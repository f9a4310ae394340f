#pragma once

#include <QFrame>
#include <QImage>
#include <QString>

class ModePages;
class QLabel;
class RecordingControl;
class QPushButton;
class QTimer;
class QToolButton;

// A notice over the foot of its window that says where a file just made went: a text naming
// it, an "Open folder" action that opens its folder in the desktop's file manager, and for a
// picture a thumbnail that opens the file itself (both through QDesktopServices). It hides
// itself after SHOWN_MS; the next file takes its place.
//
// Threads: GUI thread only.
class FileNotice : public QFrame
{
    Q_OBJECT
public:
    static constexpr int SHOWN_MS = 8000;
    static constexpr int THUMBNAIL_HEIGHT = 48;

    explicit FileNotice(QWidget *parent);

    // Shows `text` about the file at `path`, with `thumbnail` when it is not null.
    void showFile(const QString &text, const QString &path, const QImage &thumbnail = QImage());
    // The program's two kinds of file, in its words.
    void showSnapshot(const QString &path, const QImage &thumbnail);
    void showRecording(const QString &path);
    // Tells of every snapshot of the canvases of `pages` (written off the GUI thread) and every
    // recording the user ends.
    void follow(const ModePages &pages, const RecordingControl &recordings);

    QString path() const { return m_path; }
    QString text() const;
    QPushButton *openFolderButton() const { return m_openFolder; }
    QToolButton *thumbnailButton() const { return m_thumbnail; }

    // What the two actions do.
    void openFolder() const;
    void openFile() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QString m_path;
    QToolButton *m_thumbnail;
    QLabel *m_text;
    QPushButton *m_openFolder;
    QTimer *m_hideTimer;
};
