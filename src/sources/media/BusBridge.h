#pragma once

#include "sources/media/GstRef.h"

#include <QObject>
#include <QString>

class QTimer;

// Turns the messages of one pipeline bus into Qt signals on the GUI thread. The bridge owns
// the bus watch: Qt on Linux runs GLib's main context, so a GStreamer bus watch is dispatched
// by the Qt event loop; where Qt runs without GLib the bridge polls the bus with a timer.
//
// Threads: create, use and destroy on the GUI thread; every signal is emitted there, so
// receivers are called directly. messageReceived() hands out the message only for the time
// of the emission.
class BusBridge : public QObject
{
    Q_OBJECT
public:
    static constexpr int POLL_INTERVAL_MS = 20;

    explicit BusBridge(GstRef<GstBus> bus, QObject *parent = nullptr);
    ~BusBridge() override;

    bool usesBusWatch() const { return m_watchId != 0; }
    // Dispatches the messages waiting on the bus now; the timer and the watch call it too.
    void drain();

signals:
    void messageReceived(GstMessage *message);
    void endOfStream();
    void errorOccurred(const QString &element, const QString &text, const QString &details);
    void warningOccurred(const QString &element, const QString &text, const QString &details);
    void stateChanged(const QString &element, int oldState, int newState);

private:
    static gboolean onBusMessage(GstBus *bus, GstMessage *message, gpointer self);
    void dispatch(GstMessage *message);

    GstRef<GstBus> m_bus;
    guint m_watchId = 0;
    QTimer *m_pollTimer = nullptr;
};
