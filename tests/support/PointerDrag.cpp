#include "PointerDrag.h"

#include "MessageCapture.h"

#include <QProcess>
#include <QtTest>

namespace PointerDrag {

namespace {

constexpr int RunLimitMs = 10000;
constexpr int WaitLimitMs = 5000;
constexpr int Steps = 5;

QStringList at(const QPoint &p)
{
    return {QString::number(p.x()), QString::number(p.y())};
}

} // namespace

bool xdotool(const QStringList &arguments, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("xdotool", arguments);
    if (!process.waitForFinished(RunLimitMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *error = "xdotool " + arguments.join(' ') + " failed: " + QString::fromLocal8Bit(process.readAll());
        return false;
    }
    return true;
}

bool pointTo(const QPoint &where, QString *error)
{
    if (!xdotool(QStringList{"mousemove", "--sync"} + at(where + QPoint(3, 3)), error)
        || !xdotool(QStringList{"mousemove", "--sync"} + at(where), error))
        return false;
    QTest::qWait(100); // the window has the pointer and knows its zone
    return true;
}

bool drag(const QPoint &from, const QPoint &to, const QString &handedOver,
          const std::function<bool()> &beforeRelease, QString *error)
{
    MessageCapture log;
    if (!pointTo(from, error) || !xdotool({"mousedown", "1"}, error))
        return false;
    if (!QTest::qWaitFor([&] { return log.contains(handedOver); }, WaitLimitMs)) {
        *error = "not logged: " + handedOver;
        xdotool({"mouseup", "1"}, error);
        return false;
    }
    for (int step = 1; step <= Steps; ++step) {
        if (!xdotool(QStringList{"mousemove", "--sync"} + at(from + (to - from) * step / Steps), error))
            return false;
        QTest::qWait(30);
    }
    if (beforeRelease && !QTest::qWaitFor(beforeRelease, WaitLimitMs)) {
        *error = "the window did not follow the pointer before the release";
        xdotool({"mouseup", "1"}, error);
        return false;
    }
    // Held a moment, as a hand does: what the window draws for its last size reaches the window
    // system while the button is still down.
    QTest::qWait(100);
    return xdotool({"mouseup", "1"}, error);
}

} // namespace PointerDrag
