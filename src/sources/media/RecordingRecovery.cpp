#include "sources/media/RecordingRecovery.h"

#include <QFileInfo>
#include <QLocale>
#include <QThread>

RecordingRecovery::RecordingRecovery(QObject *parent)
    : QObject(parent)
{ }

RecordingRecovery::~RecordingRecovery()
{
    if (m_thread) {
        m_cancel->store(true);
        m_thread->wait();
        delete m_thread;
    }
}

bool RecordingRecovery::isRunning() const
{
    return m_thread != nullptr;
}

void RecordingRecovery::start(const QStringList &folders)
{
    if (m_thread)
        return;
    QStringList unique;
    for (const QString &folder : folders) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty() && !unique.contains(canonical))
            unique.append(canonical);
    }
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_thread = QThread::create([this, unique, cancel = m_cancel] {
        QVector<RecordingRepairer::Outcome> outcomes;
        for (const QString &folder : unique)
            outcomes += RecordingRepairer::repairFolder(folder, cancel.get());
        std::lock_guard<std::mutex> lock(m_mutex);
        m_outcomes = outcomes;
    });
    // Queued to this object's thread; seen after the worker has written its outcomes.
    connect(m_thread, &QThread::finished, this, [this] {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
        QVector<RecordingRepairer::Outcome> outcomes;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            outcomes.swap(m_outcomes);
        }
        emit finished(outcomes);
    });
    m_thread->start();
}

QString RecordingRecovery::title()
{
    return tr("Unfinished recordings");
}

QString RecordingRecovery::reason(RecordingRepairer::Failure failure)
{
    using Failure = RecordingRepairer::Failure;
    switch (failure) {
    case Failure::Unreadable:
        return tr("it cannot be read");
    case Failure::NotARecording:
        return tr("it is not a video file this program can read");
    case Failure::NoPicture:
        return tr("it holds no complete picture");
    case Failure::IsLink:
        return tr("its name is a link to another file");
    case Failure::CannotWrite:
        return tr("the repaired copy could not be written; the folder may be full or read-only");
    case Failure::NotPlayable:
        return tr("the repaired copy did not play correctly");
    case Failure::None:
        break;
    }
    return QString();
}

QString RecordingRecovery::message(const QVector<RecordingRepairer::Outcome> &outcomes)
{
    if (outcomes.isEmpty())
        return QString();
    QStringList lines;
    lines << tr("These recordings were not finished when the program last ended:");
    for (const RecordingRepairer::Outcome &outcome : outcomes) {
        const QString name = QFileInfo(outcome.path).fileName();
        if (outcome.repaired)
            lines << tr("%1 has been repaired and plays for %2 s.")
                         .arg(name, QLocale().toString(outcome.seconds, 'f', 1));
        else
            lines << tr("%1 could not be repaired: %2. The file has been kept as it was.")
                         .arg(name, reason(outcome.failure));
    }
    return lines.join(QStringLiteral("\n\n"));
}
