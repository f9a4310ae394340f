#include "app/QuitSignals.h"

#include "common/Logging.h"
#include "common/UnattendedPrompts.h"

#include <QApplication>
#include <QSocketNotifier>

#include <sys/socket.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the live object's pipe; the handler reads it (async-signal-safe).
volatile sig_atomic_t writeEnd = -1;

void onSignal(int number)
{
    const int saved = errno;
    const char byte = char(number);
    if (writeEnd >= 0) {
        // A full pipe already holds a request to close: losing this byte loses nothing.
        [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    }
    errno = saved;
}

void handleWith(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : Signals)
        ::sigaction(number, &action, nullptr);
}

} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (writeEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_pipe) != 0) {
        qCWarning(lcApp) << "termination signals keep their default action";
        return;
    }
    m_notifier = new QSocketNotifier(m_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::closeWindows);
    writeEnd = m_pipe[0];
    handleWith(onSignal);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    handleWith(SIG_DFL);
    writeEnd = -1;
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void QuitSignals::closeWindows()
{
    char bytes[16];
    ssize_t got = 0;
    int last = 0;
    while ((got = ::read(m_pipe[1], bytes, sizeof bytes)) > 0)
        last = bytes[got - 1];
    qCInfo(lcApp) << "signal" << last << "received: closing the windows";
    // Nobody may be there to answer a box: from now on none is waited on.
    if (!m_unattended) {
        m_unattended = new UnattendedPrompts(this);
        UserPrompts::install(m_unattended);
    }
    QApplication::closeAllWindows();
}
