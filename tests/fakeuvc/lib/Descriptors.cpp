// The camera's formats and the USB descriptors that state them. Both come from the same
// table, so what the driver side answers and what the `descriptors` file in sysfs says agree.

#include "Registry.h"

#include <algorithm>

namespace fakeuvc {

// {63610682-5070-49AB-B8CC-B3855E8D221D}, first three fields little-endian as USB stores them.
const uint8_t kVendorExtensionGuid[16] = {0x82, 0x06, 0x61, 0x63, 0x70, 0x50, 0xAB, 0x49,
                                          0xB8, 0xCC, 0xB3, 0x85, 0x5E, 0x8D, 0x22, 0x1D};
// A second extension unit, as cameras often have one for their own firmware: its GUID is
// this library's own ({FA4E5543-0000-4000-8000-000000000003}).
static const uint8_t kOtherExtensionGuid[16] = {0x43, 0x55, 0x4E, 0xFA, 0x00, 0x00, 0x00, 0x40,
                                                0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03};
static const uint8_t kYuy2Guid[16] = {'Y',  'U',  'Y',  '2',  0x00, 0x00, 0x10, 0x00,
                                      0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

namespace {

FrameDesc frame(uint16_t w, uint16_t h, std::vector<uint32_t> intervals)
{
    FrameDesc f;
    f.width = w;
    f.height = h;
    std::sort(intervals.begin(), intervals.end());
    f.intervals = std::move(intervals);
    f.defaultInterval = f.intervals.front();
    f.maxFrameSize = uint32_t(w) * h * 2;
    return f;
}

class Bytes
{
public:
    std::vector<uint8_t> data;
    Bytes &u8(uint32_t v)
    {
        data.push_back(uint8_t(v));
        return *this;
    }
    Bytes &u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Bytes &u32(uint32_t v) { return u16(v).u16(v >> 16); }
    Bytes &raw(const uint8_t *p, size_t n)
    {
        data.insert(data.end(), p, p + n);
        return *this;
    }
    Bytes &append(const Bytes &other) { return raw(other.data.data(), other.data.size()); }
    size_t size() const { return data.size(); }
    void put16(size_t at, uint32_t v)
    {
        data[at] = uint8_t(v);
        data[at + 1] = uint8_t(v >> 8);
    }
};

void appendFrame(Bytes &b, const FormatDesc &format, const FrameDesc &f)
{
    const uint32_t pixels = uint32_t(f.width) * f.height;
    const uint32_t slowest = f.intervals.back();
    const uint32_t fastest = f.intervals.front();
    b.u8(26 + 4 * f.intervals.size())
        .u8(0x24)
        .u8(format.compressed ? 0x07 : 0x05) // VS_FRAME_MJPEG / VS_FRAME_UNCOMPRESSED
        .u8(f.index)
        .u8(0x00)
        .u16(f.width)
        .u16(f.height)
        .u32(uint32_t(uint64_t(pixels) * 16 * 10000000 / slowest))
        .u32(uint32_t(std::min<uint64_t>(uint64_t(pixels) * 16 * 10000000 / fastest, UINT32_MAX)))
        .u32(f.maxFrameSize)
        .u32(f.defaultInterval)
        .u8(f.intervals.size());
    for (uint32_t interval : f.intervals)
        b.u32(interval);
}

} // namespace

std::vector<FormatDesc> buildFormats(const CameraSpec &cameraSpec)
{
    const std::vector<uint32_t> standard = {333333, 333666, 666666, 1001000};
    const std::vector<uint32_t> &small = cameraSpec.mjpegIntervals.empty() ? standard
                                                                           : cameraSpec.mjpegIntervals;

    FormatDesc mjpeg;
    mjpeg.fourcc = V4L2_PIX_FMT_MJPEG;
    mjpeg.compressed = true;
    mjpeg.frames = {frame(640, 480, small), frame(1280, 720, small), frame(1920, 1080, small),
                    frame(2592, 1944, {333333, 666666, 1001000}), frame(3264, 2448, {666666, 1001000})};

    // Uncompressed frames fill a USB 2.0 link quickly: small sizes and low rates only.
    FormatDesc yuyv;
    yuyv.fourcc = V4L2_PIX_FMT_YUYV;
    yuyv.bitsPerPixel = 16;
    yuyv.frames = {frame(640, 480, {333333, 666666, 1000000}), frame(1280, 720, {1000000, 2000000})};

    std::vector<FormatDesc> formats;
    if (cameraSpec.yuyvFirst)
        formats = {yuyv, mjpeg};
    else
        formats = {mjpeg, yuyv};
    for (size_t i = 0; i < formats.size(); ++i) {
        formats[i].index = uint8_t(i + 1);
        for (size_t j = 0; j < formats[i].frames.size(); ++j)
            formats[i].frames[j].index = uint8_t(j + 1);
    }
    return formats;
}

std::vector<uint8_t> buildDescriptors(const CameraSpec &cameraSpec, const std::vector<FormatDesc> &formats)
{
    Bytes device;
    device.u8(18)
        .u8(0x01)
        .u16(0x0200)
        .u8(0xEF)
        .u8(0x02)
        .u8(0x01)
        .u8(64)
        .u16(cameraSpec.vid)
        .u16(cameraSpec.pid)
        .u16(cameraSpec.bcdDevice)
        .u8(1)
        .u8(2)
        .u8(3)
        .u8(1);

    // VideoControl: camera terminal 1 -> processing unit 2 -> extension units 3 and 4 ->
    // output terminal 5 (USB streaming).
    Bytes vc;
    vc.u8(13).u8(0x24).u8(0x01).u16(0x0110).u16(0).u32(48000000).u8(1).u8(1);
    // Camera terminal: focus (absolute) and focus auto (bits 5 and 17).
    vc.u8(18).u8(0x24).u8(0x02).u8(1).u16(0x0201).u8(0).u8(0).u16(0).u16(0).u16(0).u8(3).u8(0x20).u8(0x00).u8(
        0x02);
    // Processing unit: brightness, contrast, power-line frequency (bits 0, 1, 10).
    vc.u8(12).u8(0x24).u8(0x05).u8(2).u8(1).u16(0).u8(2).u8(0x03).u8(0x04).u8(0).u8(0);
    vc.u8(26)
        .u8(0x24)
        .u8(0x06)
        .u8(kOtherUnitId)
        .raw(kOtherExtensionGuid, 16)
        .u8(2)
        .u8(1)
        .u8(2)
        .u8(1)
        .u8(0x03)
        .u8(0);
    // The vendor unit: selector 1 (firmware version, read only), 19 (register address),
    // 20 (register data).
    vc.u8(28)
        .u8(0x24)
        .u8(0x06)
        .u8(kVendorUnitId)
        .raw(kVendorExtensionGuid, 16)
        .u8(3)
        .u8(1)
        .u8(kOtherUnitId)
        .u8(3)
        .u8(0x01)
        .u8(0x00)
        .u8(0x0C)
        .u8(0);
    vc.u8(9).u8(0x24).u8(0x03).u8(5).u16(0x0101).u8(0).u8(kVendorUnitId).u8(0);
    vc.put16(5, uint32_t(vc.size()));

    Bytes vs;
    vs.u8(13 + formats.size())
        .u8(0x24)
        .u8(0x01)
        .u8(formats.size())
        .u16(0)
        .u8(0x81)
        .u8(0)
        .u8(5)
        .u8(0)
        .u8(0)
        .u8(0)
        .u8(1);
    for (size_t i = 0; i < formats.size(); ++i)
        vs.u8(0);
    for (const FormatDesc &format : formats) {
        if (format.compressed) {
            vs.u8(11)
                .u8(0x24)
                .u8(0x06)
                .u8(format.index)
                .u8(format.frames.size())
                .u8(0x01)
                .u8(format.defaultFrameIndex)
                .u8(0)
                .u8(0)
                .u8(0)
                .u8(0);
        } else {
            vs.u8(27)
                .u8(0x24)
                .u8(0x04)
                .u8(format.index)
                .u8(format.frames.size())
                .raw(kYuy2Guid, 16)
                .u8(format.bitsPerPixel)
                .u8(format.defaultFrameIndex)
                .u8(0)
                .u8(0)
                .u8(0)
                .u8(0);
        }
        for (const FrameDesc &f : format.frames)
            appendFrame(vs, format, f);
        // Colour matching: BT.709 primaries and transfer, BT.601 matrix.
        vs.u8(6).u8(0x24).u8(0x0D).u8(1).u8(1).u8(4);
    }
    vs.put16(4, uint32_t(vs.size()));

    Bytes body;
    body.u8(8).u8(0x0B).u8(0).u8(2).u8(0x0E).u8(0x03).u8(0x00).u8(2); // interface association
    body.u8(9).u8(0x04).u8(0).u8(0).u8(1).u8(0x0E).u8(0x01).u8(0x00).u8(2);
    body.append(vc);
    body.u8(7).u8(0x05).u8(0x83).u8(0x03).u16(16).u8(6);
    body.u8(5).u8(0x25).u8(0x03).u16(16);
    body.u8(9).u8(0x04).u8(1).u8(0).u8(0).u8(0x0E).u8(0x02).u8(0x00).u8(0);
    body.append(vs);
    const uint16_t packetSizes[] = {0x0080, 0x0400, 0x1400};
    for (int alt = 1; alt <= 3; ++alt) {
        body.u8(9).u8(0x04).u8(1).u8(alt).u8(1).u8(0x0E).u8(0x02).u8(0x00).u8(0);
        body.u8(7).u8(0x05).u8(0x81).u8(0x05).u16(packetSizes[alt - 1]).u8(1);
    }

    Bytes config;
    config.u8(9).u8(0x02).u16(uint32_t(9 + body.size())).u8(2).u8(1).u8(0).u8(0x80).u8(250);
    config.append(body);

    device.append(config);
    return device.data;
}

} // namespace fakeuvc
