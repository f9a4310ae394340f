#include "sources/media/BusBridge.h"

#include "common/Logging.h"

#include <QAbstractEventDispatcher>
#include <QTimer>

BusBridge::BusBridge(GstRef<GstBus> bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    if (!m_bus)
        return;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread());
    if (dispatcher && dispatcher->inherits("QEventDispatcherGlib"))
        m_watchId = gst_bus_add_watch(m_bus.get(), &BusBridge::onBusMessage, this);
    if (m_watchId == 0) {
        qCDebug(lcMedia) << "bus messages polled every" << POLL_INTERVAL_MS << "ms";
        m_pollTimer = new QTimer(this);
        m_pollTimer->setInterval(POLL_INTERVAL_MS);
        connect(m_pollTimer, &QTimer::timeout, this, &BusBridge::drain);
        m_pollTimer->start();
    }
}

BusBridge::~BusBridge()
{
    if (m_watchId != 0)
        gst_bus_remove_watch(m_bus.get());
}

gboolean BusBridge::onBusMessage(GstBus *, GstMessage *message, gpointer self)
{
    static_cast<BusBridge *>(self)->dispatch(message);
    return G_SOURCE_CONTINUE;
}

void BusBridge::drain()
{
    if (!m_bus)
        return;
    while (GstMessage *raw = gst_bus_pop(m_bus.get())) {
        GstRef<GstMessage> message(raw);
        dispatch(message.get());
    }
}

namespace {

QString sourceName(GstMessage *message)
{
    return GST_MESSAGE_SRC(message) ? QString::fromUtf8(GST_MESSAGE_SRC_NAME(message)) : QString();
}

} // namespace

void BusBridge::dispatch(GstMessage *message)
{
    emit messageReceived(message);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        emit endOfStream();
        break;
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_WARNING: {
        GError *error = nullptr;
        gchar *debug = nullptr;
        const bool isError = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR;
        if (isError)
            gst_message_parse_error(message, &error, &debug);
        else
            gst_message_parse_warning(message, &error, &debug);
        const QString element = sourceName(message);
        const QString text = QString::fromUtf8(error ? error->message : "");
        const QString details = QString::fromUtf8(debug ? debug : "");
        g_clear_error(&error);
        g_free(debug);
        qCWarning(lcMedia).noquote() << (isError ? "error from" : "warning from") << element << ":" << text
                                     << details;
        if (isError)
            emit errorOccurred(element, text, details);
        else
            emit warningOccurred(element, text, details);
        break;
    }
    case GST_MESSAGE_STATE_CHANGED: {
        GstState oldState = GST_STATE_VOID_PENDING, newState = GST_STATE_VOID_PENDING;
        gst_message_parse_state_changed(message, &oldState, &newState, nullptr);
        emit stateChanged(sourceName(message), oldState, newState);
        break;
    }
    default:
        break;
    }
}
