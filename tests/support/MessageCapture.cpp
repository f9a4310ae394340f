#include "MessageCapture.h"

#include <QMutexLocker>

#include <atomic>

namespace {
std::atomic<MessageCapture *> g_active{nullptr};
}

MessageCapture::MessageCapture()
{
    g_active.store(this);
    m_previous = qInstallMessageHandler(&MessageCapture::handler);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(m_previous);
    g_active.store(nullptr);
}

void MessageCapture::handler(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    if (MessageCapture *self = g_active.load()) {
        QMutexLocker lock(&self->m_mutex);
        self->m_messages.append(msg);
    }
}

QStringList MessageCapture::messages() const
{
    QMutexLocker lock(&m_mutex);
    return m_messages;
}

bool MessageCapture::contains(const QString &text) const
{
    QMutexLocker lock(&m_mutex);
    return m_messages.contains(text);
}

int MessageCapture::count(const QString &prefix) const
{
    QMutexLocker lock(&m_mutex);
    int n = 0;
    for (const QString &m : m_messages)
        n += m.startsWith(prefix) ? 1 : 0;
    return n;
}

void MessageCapture::clear()
{
    QMutexLocker lock(&m_mutex);
    m_messages.clear();
}
