#pragma once

#include "sources/photograph/DecodeJob.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QString>

// What the canvas shows in place of a picture that cannot be shown: a dark page with a broken
// picture sign, the file's name and why, in words the user reads.
//
// Threads: GUI thread (it paints text, and the translations are the GUI thread's).
class PicturePlaceholder
{
    Q_DECLARE_TR_FUNCTIONS(PicturePlaceholder)
public:
    static constexpr int WIDTH = 1280;
    static constexpr int HEIGHT = 720;

    // The page for the file `name` whose decode ended with `outcome`.
    static QImage draw(const QString &name, DecodeJob::Outcome outcome);
    // Why, for an outcome that gave no picture.
    static QString reason(DecodeJob::Outcome outcome);
};
