#pragma once

#include "sources/media/HResult.h"

#include <cstdint>
#include <variant>

typedef struct _GstCaps GstCaps;

enum class MediaMajorType { Unknown, Video, Audio, Stream };
enum class MediaSubtype { Unknown, MJPG, RGB32, RGB24, YUY2, NV12, I420, AVI, PCM };
enum class FormatType { None, VideoInfo, VideoInfo2, WaveFormatEx };
enum class PinDirection { Input, Output };

struct BitmapInfoHeader
{
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biSizeImage = 0;
};

struct VideoInfoHeader
{
    std::int64_t avgTimePerFrame = 0; // 100-ns units
    BitmapInfoHeader bmiHeader;
};

struct VideoInfoHeader2
{
    std::int64_t avgTimePerFrame = 0; // 100-ns units
    std::uint32_t interlaceFlags = 0;
    std::uint32_t pictAspectRatioX = 0;
    std::uint32_t pictAspectRatioY = 0;
    BitmapInfoHeader bmiHeader;
};

struct WaveFormatEx
{
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
};

// A media type as the grabber judges it: major type, subtype and a format block whose kind
// is the format type. GStreamer caps are translated into it at the element boundary, so the
// grabber's decisions can be checked without a pipeline.
//
// Threads: a plain value; the grabber reads it on the streaming thread it runs on.
struct MediaType
{
    MediaMajorType majorType = MediaMajorType::Unknown;
    MediaSubtype subtype = MediaSubtype::Unknown;
    std::variant<std::monostate, VideoInfoHeader, VideoInfoHeader2, WaveFormatEx> format;

    FormatType formatType() const;

    // The first structure of fixed or unfixed caps. Video caps that carry an interlace mode
    // other than progressive or a pixel aspect ratio other than 1:1 get the second video
    // information header; other video caps with a size the first one; caps without a size
    // have no format block.
    static MediaType fromCaps(const GstCaps *caps);
};
