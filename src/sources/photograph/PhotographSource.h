#pragma once

#include <QDir>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ICaptureCB;

// The source of the Photograph mode: the still pictures of one folder, shown one at a time on
// the canvas through its frame sink, stepped on request and by a slide-show timer.
//
// Threads: a GUI-thread object; every operation, slot and signal runs on the GUI thread, so
// no field needs a lock.
class PhotographSource : public QObject
{
    Q_OBJECT
public:
    PhotographSource(ICaptureCB *sink, QObject *parent);
    ~PhotographSource() override;

    // Lists folder with the picture filter and, when fileName is among the pictures, takes
    // the new list and shows that picture. Returns false and changes nothing otherwise.
    bool openPhotograph(const QString &folder, const QString &fileName);

    // Stores the slide-show period; a running slide show keeps its period until play().
    void setPlayInterval(int milliseconds);
    int playInterval() const { return m_playInterval; }

    int count() const { return m_fileNames.size(); }
    int currentIndex() const { return m_currentIndex; }
    bool isLoaded() const { return m_loaded; }
    bool isPlaying() const { return m_slideTimer.isActive(); }
    int slideInterval() const { return m_slideTimer.interval(); }
    QStringList filePaths() const;

    // The readable pictures of folder (.bmp, .jpg, .jpeg, .png, .gif in any case), names
    // without the folder, in case-sensitive character order.
    static QStringList listPictures(const QDir &folder);

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
    ICaptureCB *m_sink;
    int m_playInterval = 0;
    int m_currentIndex = 0;
    QTimer m_slideTimer;
    QStringList m_fileNames;
    QDir m_folder;
    bool m_loaded = false;
    QString m_fileName;
};
