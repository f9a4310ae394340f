#pragma once

#include <QString>
#include <QVector>

// One frame size (or a stepwise range of sizes) that a camera offers in MJPG, with the frame
// rates it offers at that size: a list of discrete rates, or a continuous range.
struct FrameSizeOption
{
    int minWidth = 0, maxWidth = 0, stepWidth = 1;
    int minHeight = 0, maxHeight = 0, stepHeight = 1;
    QVector<double> rates;           // discrete frames/s, when not empty
    double minRate = 0, maxRate = 0; // continuous range, used when `rates` is empty

    static FrameSizeOption discrete(int width, int height, QVector<double> frameRates);
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
// 30 frames/s up to 1080 rows and 15 above (or the nearest rate the size offers); a size the
// camera does not offer keeps the camera's own format, so the pipeline is never built with
// caps the device cannot give.
//
// Threads: stateless; callable from any thread.
class CaptureFormatChooser
{
public:
    static double preferredRate(int height);
    static CaptureMode choose(const QVector<FrameSizeOption> &offered, const CaptureMode &current, int width,
                              int height);

private:
    static double nearestRate(const FrameSizeOption &option, double wanted);
    static CaptureMode withRate(int width, int height, double rate);
};
