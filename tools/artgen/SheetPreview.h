#pragma once
// Previews for the contact sheet: pictures put together the way the program shows them
// (captions on buttons, labels on the on-screen plates, the assembled brightness bar, the
// recording time), so legibility and fit can be judged with the real texts.
//
// Thread contract: used on the tool's only thread.
#include <QHash>
#include <QImage>
#include <QPair>
#include <QString>
#include <QVector>

class Skin;

class SheetPreview
{
public:
    SheetPreview(const Skin &skin, const QHash<QString, QImage> &pictures)
        : m_skin(skin)
        , m_pictures(pictures)
    { }

    // Labelled previews; pieces missing from the manifest are left out.
    QVector<QPair<QString, QImage>> compose() const;

private:
    QImage captionedButtons() const;
    QImage labelledPlates() const;
    QImage brightnessBar(int min, int max, int level) const;
    QImage recordingTime(const QString &text) const;
    QImage page(int width, int height) const;

    const Skin &m_skin;
    const QHash<QString, QImage> &m_pictures;
};
