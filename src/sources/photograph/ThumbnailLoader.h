#pragma once

#include <QByteArray>
#include <QSemaphore>
#include <QStringList>
#include <QThread>
#include <QVector>

#include <atomic>

class ThumbnailButton;

// The worker thread that decodes and scales the pictures of the thumbnail strip, one at a
// time in list order, and hands each thumbnail to its button on the GUI thread. Each thumbnail
// has a budget of memory and time (PictureReader::thumbnailJob): a picture that would pass it
// leaves its button without a picture, so one hostile file cannot hold up the strip.
//
// Threads: startPass() and stopPass() are called on the GUI thread only. A pass works on the
// paths and button pointers given to startPass(), which the GUI thread does not touch again
// until stopPass() has returned; stopPass() is what the strip calls before it deletes the
// buttons. The cancel flag is atomic (written by the GUI thread, read by the pass). The idle
// semaphore holds one resource while no pass is pending: stopPass() takes it, the end of a
// pass gives it back. m_holdsIdle is GUI-thread only and records that stopPass() already holds
// the resource, so that a second stopPass() without a pass in between does not wait forever.
class ThumbnailLoader : public QThread
{
    Q_OBJECT
public:
    explicit ThumbnailLoader(QObject *parent);
    ~ThumbnailLoader() override;

    // Cancels a running pass after its current picture and waits until the thread ended.
    void stopPass();
    // Starts a new pass from picture 0 over the files named as the system spells them. Stops a
    // running one first.
    void startPass(const QVector<QByteArray> &paths, const QVector<ThumbnailButton *> &buttons);
    // The same for names in Qt's spelling.
    void startPass(const QStringList &paths, const QVector<ThumbnailButton *> &buttons);

    bool isCancelled() const { return m_cancel.load(std::memory_order_acquire); }

signals:
    // Emitted on the loader thread at the end of each pass: the number of thumbnails handed
    // over, and whether the pass ended by cancellation.
    void passFinished(int loaded, bool cancelled);

protected:
    void run() override;

private:
    std::atomic<bool> m_cancel{false};
    QSemaphore m_idle{1};
    bool m_holdsIdle = false;
    QVector<QByteArray> m_paths;
    QVector<ThumbnailButton *> m_buttons;
};
