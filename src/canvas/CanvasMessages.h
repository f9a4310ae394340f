#pragma once

#include "common/Clock.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>

class QPainter;
class QWidget;

// Words over a canvas, for what its pictures cannot say: one standing message that lasts as
// long as its cause (no camera connected, the camera in use by another program) and one notice
// that goes by itself after a while (a button that could not act, and why). The canvas's
// on-screen display paints them over the picture and its indications.
//
// They repaint the canvas themselves when they change and when a notice runs out: a canvas
// without frames (no camera) is repainted by nothing else. The notice's time is measured on the
// display's clock at paint time, as every indication's is; the timer only asks for the paint.
//
// Threads: GUI thread only.
class CanvasMessages : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 NOTICE_MS = 4000;

    CanvasMessages(QWidget *canvas, const Clock &clock, QObject *parent = nullptr);
    ~CanvasMessages() override;

    // A standing message: a title and an optional line of detail below it; an empty title
    // takes the message away.
    void setStanding(const QString &title, const QString &detail = QString());
    QString standingTitle() const { return m_title; }
    QString standingDetail() const { return m_detail; }

    // A notice for `ms` milliseconds; a new one replaces the one shown.
    void showNotice(const QString &text, qint64 ms = NOTICE_MS);
    // The notice shown now; empty once it ran out.
    QString notice() const;

    // Paints whatever shows now onto a canvas of `size`.
    void paint(QPainter *painter, const QSize &size) const;

private:
    void repaintCanvas();
    void noticeTimeout();

    QPointer<QWidget> m_canvas;
    QString m_title;
    QString m_detail;
    QString m_notice;
    qint64 m_noticeMs = 0;
    Stopwatch m_noticeWatch;
    QTimer m_expiry;
};
