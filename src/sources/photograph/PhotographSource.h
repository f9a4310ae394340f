#pragma once

#include "sources/photograph/DecodeJob.h"
#include "sources/photograph/PictureListing.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <QVector>

class ICaptureCB;
class PictureLoader;

// The source of the Photograph mode: the still pictures of one folder, shown one at a time on
// the canvas through its frame sink, stepped on request and by a slide-show timer.
//
// Pictures are decoded off the GUI thread, at the size they are shown: first fitted to the shown
// size (the largest the canvas can show a picture at), then, while the canvas is zoomed in, again
// with as much more detail as the zoom can show, up to the picture's own size. A picture that
// cannot be shown reaches the canvas as a page that says so, with its name. photographChanged()
// follows the picture onto the canvas, so the counter never names a picture that is not shown;
// a selection made while an earlier one is still decoding calls the earlier one off.
//
// Files are listed and opened by the names the system gives (PictureListing), so names that
// are not valid UTF-8 are listed with replacement characters and still open.
//
// Threads: a GUI-thread object; every operation, slot and signal runs on the GUI thread, so
// no field needs a lock. The decoding runs in its PictureLoader.
class PhotographSource : public QObject
{
    Q_OBJECT
public:
    // Shown size used until the window sets one.
    static constexpr int DEFAULT_SHOWN_WIDTH = 1920;
    static constexpr int DEFAULT_SHOWN_HEIGHT = 1080;

    PhotographSource(ICaptureCB *sink, QObject *parent);
    ~PhotographSource() override;

    // Lists folder with the picture filter and, when fileName is among the pictures (by its
    // shown name), takes the new list and shows that picture. Returns false and changes
    // nothing otherwise.
    bool openPhotograph(const QString &folder, const QString &fileName);

    // Stores the slide-show period; a running slide show keeps its period until play().
    void setPlayInterval(int milliseconds);
    int playInterval() const { return m_playInterval; }

    // The largest size, in pixels, the canvas shows a picture at; pictures are decoded to fit it.
    void setShownSize(const QSize &size);
    QSize shownSize() const { return m_shownSize; }
    // The canvas's zoom: above 1 the shown picture is decoded again with the detail it needs,
    // back at 1 (or below) the fitted picture returns.
    void setViewZoom(double zoom);

    int count() const { return m_files.size(); }
    int currentIndex() const { return m_currentIndex; }
    bool isLoaded() const { return m_loaded; }
    bool isPlaying() const { return m_slideTimer.isActive(); }
    int slideInterval() const { return m_slideTimer.interval(); }
    // Whether a picture is being decoded for the canvas.
    bool isDecoding() const { return m_pending != Pending::None; }
    QStringList filePaths() const;
    // The listed pictures with the names the system gives them.
    const QVector<PictureFile> &pictureFiles() const { return m_files; }
    // Size of the picture on the canvas now, and the whole picture's size (upright).
    QSize deliveredSize() const { return m_delivered; }
    QSize pictureSize() const { return m_fullSize; }
    PictureLoader *loader() const { return m_loader; }

    // The shown names of the pictures of folder, in list order (see PictureListing).
    static QStringList listPictures(const QString &folder);
    // The pictures the program shows, as MIME types the desktop knows them.
    static const QStringList &mimeTypes();

signals:
    void photographChanged(int id);
    void playDone();
    // A successful open took a new list; emitted before its picture is shown, so the
    // thumbnail strip rebuilds its buttons before it is asked to check one of them.
    void photographListChanged();

public slots:
    void selectPhotograph(int id);
    void pauseCapture();
    void resumeCapture();
    void play();
    void stop();
    void previous();
    void next();
    void nextPhotograph();

private:
    enum class Pending { None, Picture, Detail };

    void pictureLoaded(quint64 ticket, const DecodeJob &job);
    // The level of detail (1 = fitted to the shown size) the zoom asks for.
    int wantedLevel() const;
    void requestDetail();

    ICaptureCB *m_sink;
    PictureLoader *m_loader;
    int m_playInterval = 0;
    int m_currentIndex = 0;
    QTimer m_slideTimer;
    QVector<PictureFile> m_files;
    QByteArray m_folder;  // as the system spells it
    QString m_folderText; // as it was given
    bool m_loaded = false;
    QString m_fileName;
    QSize m_shownSize{DEFAULT_SHOWN_WIDTH, DEFAULT_SHOWN_HEIGHT};
    double m_zoom = 1.0;

    // The request in flight and what the canvas shows now.
    Pending m_pending = Pending::None;
    quint64 m_ticket = 0;
    int m_pendingIndex = -1;
    int m_pendingLevel = 0;
    int m_shownIndex = -1; // picture on the canvas; -1 none or a placeholder
    int m_level = 0;       // its level of detail
    QImage m_fitted;       // the picture at level 1, for going back without decoding again
    QSize m_delivered;
    QSize m_fullSize;
};
