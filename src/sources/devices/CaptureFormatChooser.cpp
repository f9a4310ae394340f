#include "sources/devices/CaptureFormatChooser.h"

#include <cmath>
#include <limits>

FrameSizeOption FrameSizeOption::discrete(int width, int height, QVector<double> frameRates)
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

double CaptureFormatChooser::preferredRate(int height)
{
    return height <= 1080 ? 30.0 : 15.0;
}

double CaptureFormatChooser::nearestRate(const FrameSizeOption &option, double wanted)
{
    if (option.rates.isEmpty()) {
        if (option.maxRate <= 0)
            return wanted; // the camera did not say: ask for the preferred rate
        return std::min(std::max(wanted, option.minRate), option.maxRate);
    }
    double best = option.rates.first();
    double bestDistance = std::numeric_limits<double>::max();
    for (double rate : option.rates) {
        const double distance = std::fabs(rate - wanted);
        if (distance < bestDistance) {
            best = rate;
            bestDistance = distance;
        }
    }
    return best;
}

CaptureMode CaptureFormatChooser::withRate(int width, int height, double rate)
{
    CaptureMode mode;
    mode.width = width;
    mode.height = height;
    if (rate <= 0)
        return mode;
    // Whole rates exactly; fractional ones (e.g. 29.97 as 30000/1001) to a thousandth.
    if (std::fabs(rate - std::round(rate)) < 1e-6) {
        mode.rateNumerator = static_cast<int>(std::lround(rate));
        mode.rateDenominator = 1;
    } else {
        mode.rateNumerator = static_cast<int>(std::lround(rate * 1000.0));
        mode.rateDenominator = 1000;
    }
    return mode;
}

CaptureMode CaptureFormatChooser::choose(const QVector<FrameSizeOption> &offered, const CaptureMode &current,
                                         int width, int height)
{
    const double wanted = preferredRate(height);
    for (const FrameSizeOption &option : offered) {
        if (option.offersSize(width, height))
            return withRate(width, height, nearestRate(option, wanted));
    }
    return current;
}
