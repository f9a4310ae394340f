// Controls as uvcvideo (Linux 6.1) maps them.
//
// Integer controls are rounded to the step and clamped, never refused (an unsigned control
// clamps a negative value to its maximum, as the driver's unsigned clamp does); booleans are
// clamped to 0/1; a menu index outside the menu is refused with ERANGE. The device itself
// refuses a manual focus while autofocus runs ("wrong state", EACCES). S_CTRL and G_CTRL
// go through the extended-control path, as the driver has no handlers of its own for them.

#include "Registry.h"

#include <linux/uvcvideo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace fakeuvc {

namespace {

// Table order is the commit order: processing unit before camera terminal.
const ControlDef kControls[] = {
    {V4L2_CID_BRIGHTNESS, "Brightness", CtrlType::Integer, -64, 64, 1, 0, true, false, 0, 0, true},
    {V4L2_CID_CONTRAST, "Contrast", CtrlType::Integer, 0, 95, 1, 32, false, false, 0, 0, true},
    {V4L2_CID_POWER_LINE_FREQUENCY, "Power Line Frequency", CtrlType::Menu, 0, 2, 1, 1, false, false, 0, 0,
     false},
    {V4L2_CID_FOCUS_ABSOLUTE, "Focus, Absolute", CtrlType::Integer, 0, 250, 5, 0, false, true,
     V4L2_CID_FOCUS_AUTO, 0, true},
    {V4L2_CID_FOCUS_AUTO, "Focus, Automatic Continuous", CtrlType::Boolean, 0, 1, 1, 1, false, false, 0, 0,
     false},
};
const char *const kPowerLineMenu[] = {"Disabled", "50 Hz", "60 Hz"};
constexpr int kPowerLineMenuCount = 3;
const uint32_t kClasses[] = {V4L2_CID_CAMERA_CLASS, V4L2_CID_USER_CLASS};

constexpr int32_t kFocusFound = 120;       // where autofocus settles on the page
constexpr int64_t kFocusRunNs = 600000000; // how long the lens takes to get there

const ControlDef *findControl(uint32_t id, bool next)
{
    id &= V4L2_CTRL_ID_MASK;
    const ControlDef *best = nullptr;
    for (const ControlDef &def : kControls) {
        if (!next && def.id == id)
            return &def;
        if (next && def.id > id && (!best || def.id < best->id))
            best = &def;
    }
    return best;
}

int classIndex(uint32_t requested, uint32_t found)
{
    const bool next = requested & V4L2_CTRL_FLAG_NEXT_CTRL;
    requested &= V4L2_CTRL_ID_MASK;
    for (int i = 0; i < 2; ++i) {
        if (!next) {
            if (kClasses[i] == requested)
                return i;
            continue;
        }
        if (kClasses[i] > requested && kClasses[i] < found)
            return i;
    }
    return -1;
}

bool isClass(uint32_t id)
{
    return classIndex(id & ~V4L2_CTRL_FLAG_NEXT_CTRL, 0) >= 0;
}

int queryClass(uint32_t requested, uint32_t found, v4l2_queryctrl *q)
{
    const int index = classIndex(requested, found);
    if (index < 0)
        return -ENODEV;
    memset(q, 0, sizeof *q);
    q->id = kClasses[index];
    strncpy(reinterpret_cast<char *>(q->name),
            q->id == V4L2_CID_USER_CLASS ? "User Controls" : "Camera Controls", sizeof q->name - 1);
    q->type = V4L2_CTRL_TYPE_CTRL_CLASS;
    q->flags = V4L2_CTRL_FLAG_WRITE_ONLY | V4L2_CTRL_FLAG_READ_ONLY;
    return 0;
}

int32_t lensPosition(const Device &device)
{
    if (device.controls.at(V4L2_CID_FOCUS_AUTO) == 0)
        return device.controls.at(V4L2_CID_FOCUS_ABSOLUTE);
    const int64_t elapsed = monotonicNs() - device.focusRunStartNs;
    const double progress = std::clamp(double(elapsed) / kFocusRunNs, 0.0, 1.0);
    const double position = device.focusRunFrom + (kFocusFound - device.focusRunFrom) * progress;
    return int32_t(position / 5 + 0.5) * 5;
}

int32_t currentValue(const Device &device, const ControlDef &def)
{
    return def.id == V4L2_CID_FOCUS_ABSOLUTE ? lensPosition(device) : device.controls.at(def.id);
}

int queryControl(const Device &device, v4l2_queryctrl *q)
{
    const uint32_t requested = q->id;
    const bool next = requested & V4L2_CTRL_FLAG_NEXT_CTRL;
    if (!next && queryClass(requested, 0, q) == 0)
        return 0;
    const ControlDef *def = findControl(requested, next);
    if (!def)
        return -EINVAL;
    if (next && queryClass(requested, def->id, q) == 0)
        return 0;
    memset(q, 0, sizeof *q);
    q->id = def->id;
    q->type = def->type == CtrlType::Menu ? V4L2_CTRL_TYPE_MENU
        : def->type == CtrlType::Boolean  ? V4L2_CTRL_TYPE_BOOLEAN
                                          : V4L2_CTRL_TYPE_INTEGER;
    strncpy(reinterpret_cast<char *>(q->name), def->name, sizeof q->name - 1);
    if (def->masterId && device.controls.at(def->masterId) != def->masterManual)
        q->flags |= V4L2_CTRL_FLAG_INACTIVE;
    q->default_value = def->defaultValue;
    switch (def->type) {
    case CtrlType::Menu:
        q->minimum = 0;
        q->maximum = kPowerLineMenuCount - 1;
        q->step = 1;
        break;
    case CtrlType::Boolean:
        q->minimum = 0;
        q->maximum = 1;
        q->step = 1;
        break;
    case CtrlType::Integer:
        q->minimum = def->minimum;
        q->maximum = def->maximum;
        q->step = def->step;
        break;
    }
    return 0;
}

// uvc_ctrl_set: the value the driver would send, or an error.
int clampValue(const ControlDef &def, int32_t *value)
{
    switch (def.type) {
    case CtrlType::Integer: {
        const int32_t min = def.minimum;
        const int32_t max = def.maximum;
        const uint32_t step = uint32_t(def.step ? def.step : 1);
        const uint32_t offset = uint32_t(*value) - uint32_t(min);
        const uint32_t rounded = (offset + step / 2) / step * step;
        int32_t v = int32_t(uint32_t(min) + rounded);
        if (def.isSigned) {
            v = std::clamp(v, min, max);
        } else {
            const uint32_t u = std::clamp(uint32_t(v), uint32_t(min), uint32_t(max));
            v = int32_t(u);
        }
        *value = v;
        return 0;
    }
    case CtrlType::Boolean:
        *value = std::clamp(*value, 0, 1);
        return 0;
    case CtrlType::Menu:
        return *value < 0 || *value >= kPowerLineMenuCount ? -ERANGE : 0;
    }
    return -EINVAL;
}

// The camera's answer to SET_CUR.
int deviceSet(Device &device, const ControlDef &def, int32_t value)
{
    if (def.id == V4L2_CID_FOCUS_ABSOLUTE && device.controls.at(V4L2_CID_FOCUS_AUTO) != 0)
        return -EACCES;
    if (def.id == V4L2_CID_FOCUS_AUTO && value != device.controls.at(def.id)) {
        const int32_t lens = lensPosition(device);
        if (value) {
            device.focusRunFrom = lens;
            device.focusRunStartNs = monotonicNs();
        } else {
            device.controls[V4L2_CID_FOCUS_ABSOLUTE] = lens;
        }
    }
    device.controls[def.id] = value;
    return 0;
}

int accessible(uint32_t id)
{
    if (isClass(id))
        return -EACCES;
    return findControl(id, false) ? 0 : -EINVAL;
}

// v4l2-ioctl's check_ext_ctrls.
bool checkExtControls(v4l2_ext_controls *c, v4l2_ext_control *controls, unsigned long ioctl)
{
    c->reserved[0] = 0;
    for (uint32_t i = 0; i < c->count; ++i)
        controls[i].reserved2[0] = 0;
    switch (c->which) {
    case V4L2_CID_PRIVATE_BASE:
        if (ioctl == VIDIOC_G_CTRL || ioctl == VIDIOC_S_CTRL)
            return false;
        break;
    case V4L2_CTRL_WHICH_DEF_VAL:
        if (ioctl == VIDIOC_S_EXT_CTRLS || ioctl == VIDIOC_TRY_EXT_CTRLS) {
            c->error_idx = c->count;
            return false;
        }
        return true;
    case V4L2_CTRL_WHICH_CUR_VAL:
        return true;
    case V4L2_CTRL_WHICH_REQUEST_VAL:
        c->error_idx = c->count;
        return false;
    }
    for (uint32_t i = 0; i < c->count; ++i) {
        if (V4L2_CTRL_ID2WHICH(controls[i].id) != c->which) {
            c->error_idx = ioctl == VIDIOC_TRY_EXT_CTRLS ? i : c->count;
            return false;
        }
    }
    return true;
}

int getExtControls(Device &device, v4l2_ext_controls *c, v4l2_ext_control *controls)
{
    for (uint32_t i = 0; i < c->count; ++i) {
        const int result = accessible(controls[i].id);
        if (result < 0) {
            c->error_idx = c->count;
            return result;
        }
    }
    for (uint32_t i = 0; i < c->count; ++i) {
        const ControlDef *def = findControl(controls[i].id, false);
        if (c->which == V4L2_CTRL_WHICH_DEF_VAL) {
            v4l2_queryctrl q{};
            q.id = controls[i].id;
            const int result = queryControl(device, &q);
            if (result < 0) {
                c->error_idx = i;
                return result;
            }
            controls[i].value = q.default_value;
        } else {
            controls[i].value = currentValue(device, *def);
        }
    }
    c->error_idx = 0;
    return 0;
}

int setExtControls(Device &device, v4l2_ext_controls *c, v4l2_ext_control *controls, unsigned long ioctl)
{
    for (uint32_t i = 0; i < c->count; ++i) {
        const int result = accessible(controls[i].id);
        if (result < 0) {
            c->error_idx = ioctl == VIDIOC_TRY_EXT_CTRLS ? i : c->count;
            return result;
        }
    }
    std::vector<std::pair<const ControlDef *, int32_t>> pending;
    for (uint32_t i = 0; i < c->count; ++i) {
        const ControlDef *def = findControl(controls[i].id, false);
        int32_t value = controls[i].value;
        const int result = clampValue(*def, &value);
        if (result < 0) {
            c->error_idx = ioctl == VIDIOC_S_EXT_CTRLS ? c->count : i;
            return result;
        }
        controls[i].value = value;
        auto same = std::find_if(pending.begin(), pending.end(),
                                 [&](const auto &p) { return p.first == def; });
        if (same != pending.end())
            same->second = value;
        else
            pending.emplace_back(def, value);
    }
    c->error_idx = 0;
    if (ioctl != VIDIOC_S_EXT_CTRLS)
        return 0;
    std::sort(pending.begin(), pending.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[def, value] : pending) {
        const int result = deviceSet(device, *def, value);
        if (result < 0) {
            for (uint32_t i = 0; i < c->count; ++i) {
                if (controls[i].id == def->id) {
                    c->error_idx = i;
                    break;
                }
            }
            return result;
        }
    }
    return 0;
}

int extControls(Device &device, unsigned long request, v4l2_ext_controls *c)
{
    c->error_idx = c->count;
    if (c->count > V4L2_CID_MAX_CTRLS)
        return -EINVAL;
    if (c->count && !c->controls)
        return -EFAULT;
    std::vector<v4l2_ext_control> controls(c->controls, c->controls + c->count);
    int result = -EINVAL;
    if (checkExtControls(c, controls.data(), request)) {
        result = request == VIDIOC_G_EXT_CTRLS ? getExtControls(device, c, controls.data())
                                               : setExtControls(device, c, controls.data(), request);
    }
    std::copy(controls.begin(), controls.end(), c->controls);
    return result;
}

// Emulated through the extended controls, as v4l2-ioctl does for drivers without G/S_CTRL.
int singleControl(Device &device, unsigned long request, v4l2_control *p)
{
    v4l2_ext_control control{};
    control.id = p->id;
    control.value = p->value;
    v4l2_ext_controls c{};
    c.which = V4L2_CTRL_ID2WHICH(p->id);
    c.count = 1;
    c.controls = &control;
    if (!checkExtControls(&c, &control, request))
        return -EINVAL;
    if (request == VIDIOC_G_CTRL) {
        const int result = getExtControls(device, &c, &control);
        if (result == 0)
            p->value = control.value;
        return result;
    }
    const int result = setExtControls(device, &c, &control, VIDIOC_S_EXT_CTRLS);
    p->value = control.value;
    return result;
}

} // namespace

void resetControls(Device &device)
{
    device.controls.clear();
    for (const ControlDef &def : kControls)
        device.controls[def.id] = def.defaultValue;
    device.focusRunFrom = 0;
    device.focusRunStartNs = monotonicNs();
}

int controlIoctl(Handle &handle, unsigned long request, void *arg)
{
    if (handle.kind != NodeKind::Capture)
        return -ENOTTY;
    Device &device = *handle.device;
    switch (request) {
    case VIDIOC_QUERYCTRL:
        return queryControl(device, static_cast<v4l2_queryctrl *>(arg));
    case VIDIOC_QUERY_EXT_CTRL: {
        auto *e = static_cast<v4l2_query_ext_ctrl *>(arg);
        v4l2_queryctrl q{};
        q.id = e->id;
        const int result = queryControl(device, &q);
        if (result < 0)
            return result;
        e->id = q.id;
        e->type = q.type;
        memcpy(e->name, q.name, sizeof e->name);
        e->minimum = q.minimum;
        e->maximum = q.maximum;
        e->step = uint64_t(q.step);
        e->default_value = q.default_value;
        e->flags = q.flags;
        e->elem_size = 4;
        e->elems = 1;
        e->nr_of_dims = 0;
        memset(e->dims, 0, sizeof e->dims);
        memset(e->reserved, 0, sizeof e->reserved);
        return 0;
    }
    case VIDIOC_QUERYMENU: {
        auto *m = static_cast<v4l2_querymenu *>(arg);
        const uint32_t id = m->id;
        const uint32_t index = m->index;
        memset(m, 0, sizeof *m);
        m->id = id;
        m->index = index;
        const ControlDef *def = findControl(id, false);
        if (!def || def->type != CtrlType::Menu || index >= uint32_t(kPowerLineMenuCount))
            return -EINVAL;
        strncpy(reinterpret_cast<char *>(m->name), kPowerLineMenu[index], sizeof m->name - 1);
        return 0;
    }
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
        return singleControl(device, request, static_cast<v4l2_control *>(arg));
    case VIDIOC_G_EXT_CTRLS:
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_TRY_EXT_CTRLS:
        return extControls(device, request, static_cast<v4l2_ext_controls *>(arg));
    case UVCIOC_CTRL_QUERY:
        return extensionUnitQuery(device, static_cast<uvc_xu_control_query *>(arg));
    default:
        return -ENOTTY;
    }
}

} // namespace fakeuvc
