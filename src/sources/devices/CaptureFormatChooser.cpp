#include "sources/devices/CaptureFormatChooser.h"

#include <cmath>
#include <limits>
#include <numeric>

FrameRate::FrameRate(int frames, int seconds)
{
    if (frames <= 0 || seconds <= 0)
        return;
    const int divisor = std::gcd(frames, seconds);
    numerator = frames / divisor;
    denominator = seconds / divisor;
}

FrameSizeOption FrameSizeOption::discrete(int width, int height, QVector<FrameRate> frameRates)
{
    FrameSizeOption option;
    option.minWidth = option.maxWidth = width;
    option.minHeight = option.maxHeight = height;
    option.rates = std::move(frameRates);
    return option;
}

bool FrameSizeOption::offersSize(int width, int height) const
{
    if (width < minWidth || width > maxWidth || height < minHeight || height > maxHeight)
        return false;
    const int sw = stepWidth > 0 ? stepWidth : 1;
    const int sh = stepHeight > 0 ? stepHeight : 1;
    return (width - minWidth) % sw == 0 && (height - minHeight) % sh == 0;
}

QString CaptureMode::toCapsString() const
{
    QString caps = QStringLiteral("image/jpeg");
    if (isValid())
        caps += QStringLiteral(",width=%1,height=%2").arg(width).arg(height);
    if (rateNumerator > 0)
        caps += QStringLiteral(",framerate=%1/%2").arg(rateNumerator).arg(rateDenominator);
    return caps;
}

bool CaptureMode::operator==(const CaptureMode &other) const
{
    return width == other.width && height == other.height && rateNumerator == other.rateNumerator
        && rateDenominator == other.rateDenominator;
}

FrameRate CaptureFormatChooser::preferredRate(int height)
{
    return FrameRate(height <= 1080 ? 30 : 15);
}

FrameRate CaptureFormatChooser::nearestRate(const FrameSizeOption &option, const FrameRate &wanted)
{
    if (option.rates.isEmpty()) {
        if (!option.maxRate.isValid())
            return wanted; // the camera did not say: ask for the preferred rate
        if (option.minRate.isValid() && wanted.value() < option.minRate.value())
            return option.minRate;
        if (wanted.value() > option.maxRate.value())
            return option.maxRate;
        return wanted;
    }
    FrameRate best = option.rates.first();
    double bestDistance = std::numeric_limits<double>::max();
    for (const FrameRate &rate : option.rates) {
        const double distance = std::fabs(rate.value() - wanted.value());
        if (rate.isValid() && distance < bestDistance) {
            best = rate;
            bestDistance = distance;
        }
    }
    return best;
}

CaptureMode CaptureFormatChooser::choose(const QVector<FrameSizeOption> &offered, const CaptureMode &current,
                                         int width, int height)
{
    const FrameRate wanted = preferredRate(height);
    for (const FrameSizeOption &option : offered) {
        if (!option.offersSize(width, height))
            continue;
        CaptureMode mode;
        mode.width = width;
        mode.height = height;
        const FrameRate rate = nearestRate(option, wanted);
        if (rate.isValid()) {
            mode.rateNumerator = rate.numerator;
            mode.rateDenominator = rate.denominator;
        }
        return mode;
    }
    return current;
}
