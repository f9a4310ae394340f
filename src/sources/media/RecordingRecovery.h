#pragma once

#include "sources/media/RecordingRepairer.h"

#include <QObject>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>
#include <mutex>

class QThread;

// The repair of unfinished recordings at start-up, run off the GUI thread so that a long file
// never holds up the window. The folders scanned are the ones given to start(): the program
// gives its record folder from the settings, where every recording and its journal are
// written.
//
// finished() comes once per start(), on the thread that owns this object, with the files
// repaired or not repairable (empty when there was nothing to do); message() turns them into
// the one text the user is shown.
//
// Threads: start(), the destructor and the signal on the owner's thread (the GUI thread); the
// repair on a worker thread of its own. The destructor cancels a repair in progress and waits
// for it; the file being rewritten is left for the next start.
class RecordingRecovery : public QObject
{
    Q_OBJECT
public:
    explicit RecordingRecovery(QObject *parent = nullptr);
    ~RecordingRecovery() override;

    // Ignored while a repair runs.
    void start(const QStringList &folders);
    bool isRunning() const;

    static QString title();
    // The text telling the user what became of each file; empty for no outcomes.
    static QString message(const QVector<RecordingRepairer::Outcome> &outcomes);
    static QString reason(RecordingRepairer::Failure failure);

signals:
    void finished(const QVector<RecordingRepairer::Outcome> &outcomes);

private:
    QThread *m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::mutex m_mutex; // guards m_outcomes, written by the worker before it ends
    QVector<RecordingRepairer::Outcome> m_outcomes;
};
