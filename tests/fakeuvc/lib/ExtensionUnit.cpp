// The camera's extension units as UVCIOC_CTRL_QUERY reaches them: uvcvideo checks the unit,
// the selector, the request and the size against the control's length (GET_LEN) before
// the camera sees a request; the camera keeps its registers behind selectors 19 (address)
// and 20 (data) of the vendor unit.

#include "Registry.h"

#include <linux/usb/video.h>
#include <linux/uvcvideo.h>

#include <cerrno>
#include <cstring>

namespace fakeuvc {

namespace {

struct XuControl
{
    uint8_t unit;
    uint8_t selector;
    uint16_t length;
    uint8_t info; // UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET
};

const XuControl kXuControls[] = {
    {kOtherUnitId, 1, 1, UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET},
    {kOtherUnitId, 2, 2, UVC_CONTROL_CAP_GET},
    {kVendorUnitId, 1, 8, UVC_CONTROL_CAP_GET},
    {kVendorUnitId, 19, 4, UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET},
    {kVendorUnitId, 20, 4, UVC_CONTROL_CAP_GET | UVC_CONTROL_CAP_SET},
};
const uint8_t kFirmware[8] = {'F', 'W', '1', '.', '2', '0', 0, 0};

void putLe(uint8_t *data, uint32_t value, uint16_t length)
{
    for (uint16_t i = 0; i < length; ++i)
        data[i] = uint8_t(i < 4 ? value >> (8 * i) : 0);
}

uint32_t getLe(const uint8_t *data, uint16_t length)
{
    uint32_t value = 0;
    for (uint16_t i = 0; i < length && i < 4; ++i)
        value |= uint32_t(data[i]) << (8 * i);
    return value;
}

// The camera's side of a request whose size and kind the driver already checked.
void deviceXuRequest(Device &device, const XuControl &c, uint8_t query, uint8_t *data)
{
    if (c.unit == kVendorUnitId && c.selector == 1) {
        if (query == UVC_GET_RES)
            memset(data, 0, c.length);
        else
            memcpy(data, kFirmware, sizeof kFirmware);
        return;
    }
    switch (query) {
    case UVC_GET_MIN:
    case UVC_GET_DEF:
        putLe(data, 0, c.length);
        return;
    case UVC_GET_MAX:
        putLe(data, c.length >= 4 ? 0xFFFFFFFFu : (1u << (8 * c.length)) - 1, c.length);
        return;
    case UVC_GET_RES:
        putLe(data, 1, c.length);
        return;
    default:
        break;
    }
    uint32_t *slot = nullptr;
    uint32_t scratch = 0;
    if (c.unit == kVendorUnitId && c.selector == 19)
        slot = &device.registerAddress;
    else if (c.unit == kVendorUnitId && c.selector == 20)
        slot = &device.registers[device.registerAddress];
    else
        slot = &scratch;
    if (query == UVC_SET_CUR)
        *slot = getLe(data, c.length);
    else
        putLe(data, *slot, c.length);
}

} // namespace

int extensionUnitQuery(Device &device, uvc_xu_control_query *q)
{
    if (q->unit != kOtherUnitId && q->unit != kVendorUnitId)
        return -ENOENT;
    const XuControl *control = nullptr;
    for (const XuControl &c : kXuControls) {
        if (c.unit == q->unit && c.selector == q->selector)
            control = &c;
    }
    if (!control)
        return -ENOENT;
    uint32_t required = 0;
    uint16_t size = control->length;
    const uint32_t flags = UVC_CTRL_FLAG_GET_MIN | UVC_CTRL_FLAG_GET_MAX | UVC_CTRL_FLAG_GET_RES
        | UVC_CTRL_FLAG_GET_DEF | ((control->info & UVC_CONTROL_CAP_GET) ? UVC_CTRL_FLAG_GET_CUR : 0)
        | ((control->info & UVC_CONTROL_CAP_SET) ? UVC_CTRL_FLAG_SET_CUR : 0);
    switch (q->query) {
    case UVC_GET_CUR:
        required = UVC_CTRL_FLAG_GET_CUR;
        break;
    case UVC_GET_MIN:
        required = UVC_CTRL_FLAG_GET_MIN;
        break;
    case UVC_GET_MAX:
        required = UVC_CTRL_FLAG_GET_MAX;
        break;
    case UVC_GET_DEF:
        required = UVC_CTRL_FLAG_GET_DEF;
        break;
    case UVC_GET_RES:
        required = UVC_CTRL_FLAG_GET_RES;
        break;
    case UVC_SET_CUR:
        required = UVC_CTRL_FLAG_SET_CUR;
        break;
    case UVC_GET_LEN:
        size = 2;
        break;
    case UVC_GET_INFO:
        size = 1;
        break;
    default:
        return -EINVAL;
    }
    if (size != q->size)
        return -ENOBUFS;
    if (required && !(flags & required))
        return -EBADRQC;
    if (!q->data)
        return -EFAULT;
    uint8_t data[8] = {};
    if (q->query == UVC_SET_CUR)
        memcpy(data, q->data, size);
    if (q->query == UVC_GET_LEN)
        putLe(data, control->length, 2);
    else if (q->query == UVC_GET_INFO)
        data[0] = control->info;
    else
        deviceXuRequest(device, *control, q->query, data);
    if (q->query != UVC_SET_CUR)
        memcpy(q->data, data, size);
    return 0;
}

} // namespace fakeuvc
