#pragma once

#include "common/Clock.h"

#include <QString>

class QPainter;
class QSize;

// A sentence the on-screen display shows over the picture for a while: what went wrong with a
// file the user asked for (a recording that had to stop, a snapshot that was not written).
// It stands at the top of the canvas, centred, white on a dark box, wrapped to at most
// MAX_WIDTH_FRACTION of the canvas's width, and goes after SHOW_MS or when cleared; a newer
// notice takes its place.
//
// Threads: a plain value; its owner says which lock guards it.
class OsdNotice
{
public:
    static constexpr qint64 SHOW_MS = 8000;
    static constexpr double MAX_WIDTH_FRACTION = 0.6;
    static constexpr int TOP = 10;

    explicit OsdNotice(const Clock &clock)
        : m_watch(clock)
    { }

    void show(const QString &text)
    {
        m_text = text;
        m_watch.start();
    }
    void clear() { m_watch.invalidate(); }
    bool isShown() const { return m_watch.isWithin(SHOW_MS) && !m_text.isEmpty(); }
    const QString &text() const { return m_text; }
    // When it was shown, on the clock; for choosing the newer of two notices.
    qint64 age() const { return m_watch.elapsed(); }

    // Draws the notice, if shown, over a canvas of `size`.
    void paint(QPainter *painter, const QSize &size) const;

private:
    QString m_text;
    Stopwatch m_watch;
};
