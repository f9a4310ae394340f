#pragma once

#include "document/PageQuad.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <opencv2/core.hpp>

// A camera picture of a page of known text in a known place: an A4 page rendered in an installed
// font, put into the frame by a known perspective, over a desk of one of the classes below, then
// blurred, given sensor noise and sent through JPEG as a camera would. Deterministic for a seed.
//
// Threads: needs the application's font database (a QGuiApplication); the GUI thread.
namespace SyntheticScene {

enum class Kind { DarkDesk, LightDesk, Shadow, Hand, Curl, BookSpread };
enum class Script { Latin, Cyrillic, Cjk };

QString kindName(Kind kind);
QList<Kind> allKinds();
// The Tesseract language that reads a script.
QString languageOf(Script script);

struct Scene
{
    cv::Mat frame; // BGR
    // The page's corners in the frame (for a book spread, the outer corners of both pages).
    std::array<cv::Point2f, 4> corners;
    cv::Size2d pageMillimetres; // of what the corners enclose
    QString text;               // the page's text, lines separated by '\n'
};

// `frame` the camera's picture size; the page covers about 80 % of the frame's height.
Scene make(Kind kind, Script script, cv::Size frame, int seed);

// The Jaccard index of a found quadrilateral against the true one, both taken into the true
// page's own frame (so a miss costs the same near and far from the camera).
double jaccard(const PageQuad &found, const std::array<cv::Point2f, 4> &truth, cv::Size2d pageMillimetres);
// Edit distance between recognised and true text over the true text's length, with runs of white
// space counted as one space (none at all for CJK).
double characterErrorRate(const QString &found, const QString &truth, Script script);

// A scripted stretch of live picture at `fps`: for each of `pages` pages, the page slid in over
// the last one, a hand moving over it and away, the page still for two seconds, a hand passing
// over it once more, still again. Each frame is handed to `show` with its time and what happens.
enum class Phase { Sliding, HandMoving, Still, StillAgain };
void playSequence(
    int pages, cv::Size size, int fps, int seed,
    const std::function<void(const cv::Mat &frame, std::int64_t ms, Phase phase, int page)> &show);

} // namespace SyntheticScene
