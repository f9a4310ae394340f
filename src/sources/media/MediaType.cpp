#include "sources/media/MediaType.h"

#include <gst/gst.h>

#include <cstring>

FormatType MediaType::formatType() const
{
    switch (format.index()) {
    case 1:
        return FormatType::VideoInfo;
    case 2:
        return FormatType::VideoInfo2;
    case 3:
        return FormatType::WaveFormatEx;
    default:
        return FormatType::None;
    }
}

namespace {

MediaSubtype rawVideoSubtype(const char *format)
{
    if (!format)
        return MediaSubtype::Unknown;
    // Byte order in memory decides: the 32-bit RGB of the grabber is B, G, R, unused.
    if (std::strcmp(format, "BGRx") == 0)
        return MediaSubtype::RGB32;
    if (std::strcmp(format, "BGR") == 0)
        return MediaSubtype::RGB24;
    if (std::strcmp(format, "YUY2") == 0)
        return MediaSubtype::YUY2;
    if (std::strcmp(format, "NV12") == 0)
        return MediaSubtype::NV12;
    if (std::strcmp(format, "I420") == 0)
        return MediaSubtype::I420;
    return MediaSubtype::Unknown;
}

std::uint16_t bitCount(MediaSubtype subtype)
{
    switch (subtype) {
    case MediaSubtype::RGB32:
        return 32;
    case MediaSubtype::RGB24:
    case MediaSubtype::MJPG:
        return 24;
    case MediaSubtype::YUY2:
        return 16;
    case MediaSubtype::NV12:
    case MediaSubtype::I420:
        return 12;
    default:
        return 0;
    }
}

} // namespace

MediaType MediaType::fromCaps(const GstCaps *caps)
{
    MediaType type;
    if (!caps || gst_caps_is_empty(caps) || gst_caps_is_any(caps))
        return type;
    const GstStructure *s = gst_caps_get_structure(caps, 0);
    const char *name = gst_structure_get_name(s);

    if (std::strcmp(name, "video/x-raw") == 0) {
        type.majorType = MediaMajorType::Video;
        type.subtype = rawVideoSubtype(gst_structure_get_string(s, "format"));
    } else if (std::strcmp(name, "image/jpeg") == 0) {
        type.majorType = MediaMajorType::Video;
        type.subtype = MediaSubtype::MJPG;
    } else if (std::strcmp(name, "video/x-msvideo") == 0) {
        type.majorType = MediaMajorType::Stream;
        type.subtype = MediaSubtype::AVI;
        return type;
    } else if (std::strcmp(name, "audio/x-raw") == 0) {
        type.majorType = MediaMajorType::Audio;
        type.subtype = MediaSubtype::PCM;
        WaveFormatEx wave;
        int channels = 0, rate = 0;
        if (gst_structure_get_int(s, "channels", &channels))
            wave.channels = static_cast<std::uint16_t>(channels);
        if (gst_structure_get_int(s, "rate", &rate))
            wave.samplesPerSec = static_cast<std::uint32_t>(rate);
        type.format = wave;
        return type;
    } else if (g_str_has_prefix(name, "video/")) {
        type.majorType = MediaMajorType::Video;
        return type;
    } else if (g_str_has_prefix(name, "audio/")) {
        type.majorType = MediaMajorType::Audio;
        return type;
    } else {
        return type;
    }

    int width = 0, height = 0;
    if (!gst_structure_get_int(s, "width", &width) || !gst_structure_get_int(s, "height", &height))
        return type;

    BitmapInfoHeader bmi;
    bmi.biWidth = width;
    bmi.biHeight = height;
    bmi.biBitCount = bitCount(type.subtype);
    if (type.subtype == MediaSubtype::RGB32)
        bmi.biSizeImage = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 4u;

    std::int64_t timePerFrame = 0;
    int num = 0, den = 0;
    if (gst_structure_get_fraction(s, "framerate", &num, &den) && num > 0)
        timePerFrame = gst_util_uint64_scale_int(10000000, den, num);

    int parN = 1, parD = 1;
    const bool hasPar = gst_structure_get_fraction(s, "pixel-aspect-ratio", &parN, &parD);
    const char *interlace = gst_structure_get_string(s, "interlace-mode");
    const bool interlaced = interlace && std::strcmp(interlace, "progressive") != 0;
    if (interlaced || (hasPar && parN != parD && parN > 0 && parD > 0)) {
        VideoInfoHeader2 vih2;
        vih2.avgTimePerFrame = timePerFrame;
        vih2.interlaceFlags = interlaced ? 1u : 0u;
        // The picture aspect ratio is the frame's shape corrected by the pixel aspect ratio.
        vih2.pictAspectRatioX = static_cast<std::uint32_t>(width * parN);
        vih2.pictAspectRatioY = static_cast<std::uint32_t>(height * parD);
        vih2.bmiHeader = bmi;
        type.format = vih2;
    } else {
        VideoInfoHeader vih;
        vih.avgTimePerFrame = timePerFrame;
        vih.bmiHeader = bmi;
        type.format = vih;
    }
    return type;
}
