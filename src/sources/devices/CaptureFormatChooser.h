#pragma once

#include <QString>
#include <QVector>

// A frame rate as the camera states it: frames per `denominator` seconds. Cameras state
// their frame intervals in 100 ns units, which uvcvideo reduces to a fraction (333666 becomes
// 1003/30060 s, a rate of 30060/1003); the fraction is carried unchanged into the caps, since
// v4l2src offers exactly those fractions and refuses any other, however close.
struct FrameRate
{
    int numerator = 0;
    int denominator = 1;

    FrameRate() = default;
    FrameRate(int frames, int seconds = 1); // reduced; a zero or negative divisor gives an invalid rate

    bool isValid() const { return numerator > 0 && denominator > 0; }
    double value() const { return isValid() ? double(numerator) / denominator : 0.0; }
    bool operator==(const FrameRate &other) const
    {
        return numerator == other.numerator && denominator == other.denominator;
    }
    bool operator!=(const FrameRate &other) const { return !(*this == other); }
};

// One frame size (or a stepwise range of sizes) that a camera offers in MJPG, with the frame
// rates it offers at that size: a list of discrete rates, or a continuous range.
struct FrameSizeOption
{
    int minWidth = 0, maxWidth = 0, stepWidth = 1;
    int minHeight = 0, maxHeight = 0, stepHeight = 1;
    QVector<FrameRate> rates; // discrete rates, when not empty
    FrameRate minRate;        // continuous range, used when `rates` is empty
    FrameRate maxRate;

    static FrameSizeOption discrete(int width, int height, QVector<FrameRate> frameRates);
    bool offersSize(int width, int height) const;
};

// The MJPG caps the capture pipeline asks of the camera.
struct CaptureMode
{
    int width = 0;
    int height = 0;
    int rateNumerator = 0; // frames per rateDenominator seconds; 0 = leave the rate open
    int rateDenominator = 1;

    bool isValid() const { return width > 0 && height > 0; }
    QString toCapsString() const;
    bool operator==(const CaptureMode &other) const;
};

// Picks the capture format from what the camera offers: the requested size when offered, at
// 30 frames/s up to 1080 rows and 15 above (or the nearest rate the size offers, exactly as the
// camera states it); a size the camera does not offer keeps the camera's own format, so the
// pipeline is never built with caps the device cannot give.
//
// Threads: stateless; callable from any thread.
class CaptureFormatChooser
{
public:
    static FrameRate preferredRate(int height);
    static CaptureMode choose(const QVector<FrameSizeOption> &offered, const CaptureMode &current, int width,
                              int height);
    // Of the rates a size offers, the one nearest to `wanted` (the first of equally near ones);
    // within a continuous range `wanted` itself, else the nearer end.
    static FrameRate nearestRate(const FrameSizeOption &option, const FrameRate &wanted);
};
