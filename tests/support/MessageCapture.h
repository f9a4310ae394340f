#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Captures every message sent to Qt's message handler while it lives, so tests can check
// the fixed debug lines the program prints. Thread-safe: frames arrive on streaming threads.
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    QStringList messages() const;
    bool contains(const QString &text) const; // a message equal to text
    int count(const QString &prefix) const;   // messages starting with prefix
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &msg);
    mutable QMutex m_mutex;
    QStringList m_messages;
    QtMessageHandler m_previous = nullptr;
};
