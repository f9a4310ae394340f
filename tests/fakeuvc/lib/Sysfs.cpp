// The fake /sys: a folder the library writes, laid out as the kernel lays out a UVC camera,
// and the rewriting of the program's paths into it.
//
//   /sys/class/video4linux/videoN ->
//   ../../devices/pci0000:00/0000:00:14.0/usb1/1-P/1-P:1.0/video4linux/videoN /sys/devices/.../usb1/1-P the
//   USB device: idVendor, idProduct, descriptors, ... /sys/devices/.../usb1/1-P/1-P:1.0    the VideoControl
//   interface, parent of both nodes /sys/devices/.../usb1/1-P/1-P:1.1    the VideoStreaming interface
//
// The program sees the kernel's paths: /sys/class/video4linux and everything below usb1 are
// answered from the folder (the rest of /sys stays the machine's), and resolved paths are
// written back into /sys form.

#include "Real.h"
#include "Registry.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

namespace fakeuvc {

namespace {

const char kClassPath[] = "/sys/class/video4linux";
const char kControllerPath[] = "/sys/devices/pci0000:00/0000:00:14.0";
const char kBusPath[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1";
const char kPciRootPath[] = "/sys/devices/pci0000:00";
const char kCharPath[] = "/sys/dev/char/";

// Answered from the tree only when the machine has no such folder (a path walk needs it).
bool g_pciRootFromTree = false;

std::string root()
{
    return Registry::instance().sysfsRoot;
}

void makeDirs(const std::string &path)
{
    for (size_t at = 1; at != std::string::npos; at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        ::mkdir(part.c_str(), 0755);
    }
    ::mkdir(path.c_str(), 0755);
}

void writeBytes(const std::string &path, const void *data, size_t size)
{
    const int fd = real::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0444);
    if (fd < 0)
        return;
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = real::write(fd, p, size);
        if (n <= 0)
            break;
        p += n;
        size -= size_t(n);
    }
    real::close(fd);
}

void attr(const std::string &dir, const char *name, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
void attr(const std::string &dir, const char *name, const char *format, ...)
{
    char text[512];
    va_list ap;
    va_start(ap, format);
    const int n = vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    if (n > 0)
        writeBytes(dir + "/" + name, text, std::min<size_t>(size_t(n), sizeof text - 1));
}

void link(const std::string &target, const std::string &path)
{
    ::unlink(path.c_str());
    if (::symlink(target.c_str(), path.c_str()) != 0)
        Registry::instance().debugLog("symlink %s failed: %s", path.c_str(), strerror(errno));
}

int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    ::remove(path);
    return 0;
}

void removeTree(const std::string &path)
{
    nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string nodeName(int number)
{
    return "video" + std::to_string(number);
}

void writeNode(const Camera &camera, const std::string &interfaceDir, int number, int index)
{
    const std::string dir = interfaceDir + "/video4linux/" + nodeName(number);
    makeDirs(dir);
    attr(dir, "name", "%s\n", camera.cameraSpec.product.c_str());
    attr(dir, "dev", "81:%d\n", number);
    attr(dir, "index", "%d\n", index);
    attr(dir, "dev_debug", "0\n");
    attr(dir, "uevent", "MAJOR=81\nMINOR=%d\nDEVNAME=video%d\n", number, number);
    const std::string port = "1-" + std::to_string(camera.cameraSpec.port);
    link("../../../" + port + ":1.0", dir + "/device");
    link("../../../../../../../../class/video4linux", dir + "/subsystem");
    link("../../devices/pci0000:00/0000:00:14.0/usb1/" + port + "/" + port + ":1.0/video4linux/"
             + nodeName(number),
         Registry::instance().sysfsRoot + kCharPath + "81:" + std::to_string(number));
}

void writeInterface(const Camera &camera, const std::string &dir, int number, int subclass, int endpoints)
{
    makeDirs(dir);
    const CameraSpec &s = camera.cameraSpec;
    attr(dir, "bInterfaceClass", "0e\n");
    attr(dir, "bInterfaceSubClass", "%02x\n", subclass);
    attr(dir, "bInterfaceProtocol", "00\n");
    attr(dir, "bInterfaceNumber", "%02x\n", number);
    attr(dir, "bAlternateSetting", "%2d\n", 0);
    attr(dir, "bNumEndpoints", "%02x\n", endpoints);
    attr(dir, "interface", "%s\n", s.product.c_str());
    attr(dir, "supports_autosuspend", "1\n");
    attr(dir, "authorized", "1\n");
    char modalias[128];
    snprintf(modalias, sizeof modalias, "usb:v%04Xp%04Xd%04XdcEFdsc02dp01ic0Eisc%02Xip00in%02X", s.vid, s.pid,
             s.bcdDevice, subclass, number);
    attr(dir, "modalias", "%s\n", modalias);
    attr(dir, "uevent",
         "DEVTYPE=usb_interface\nDRIVER=uvcvideo\nPRODUCT=%x/%x/%x\nTYPE=239/2/1\nINTERFACE=14/%d/"
         "0\nMODALIAS=%s\n",
         s.vid, s.pid, s.bcdDevice, subclass, modalias);
    link("../../../../../../bus/usb/drivers/uvcvideo", dir + "/driver");
}

} // namespace

std::string Camera::usbPath() const
{
    return std::string(kBusPath) + "/1-" + std::to_string(cameraSpec.port);
}

void createSysfsRoot()
{
    Registry &registry = Registry::instance();
    const char *base = getenv("FAKEUVC_TMPDIR");
    if (!base || !*base)
        base = getenv("TMPDIR");
    if (!base || !*base)
        base = "/tmp";
    std::string pattern = std::string(base) + "/fakeuvc-sys-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        registry.debugLog("cannot create the sysfs folder in %s: %s", base, strerror(errno));
        return;
    }
    char *canonical = real::realpath(buffer.data(), nullptr);
    registry.sysfsRoot = canonical ? canonical : buffer.data();
    free(canonical);

    const std::string r = registry.sysfsRoot;
    makeDirs(r + kClassPath);
    makeDirs(r + kCharPath);
    const std::string controller = r + kControllerPath;
    makeDirs(controller);
    attr(controller, "vendor", "0x8086\n");
    attr(controller, "device", "0xa36d\n");
    attr(controller, "class", "0x0c0330\n");
    link("../../../bus/pci/drivers/xhci_hcd", controller + "/driver");
    struct stat st;
    g_pciRootFromTree = real::stat(kPciRootPath, &st) != 0;
    const std::string hub = r + kBusPath;
    makeDirs(hub);
    attr(hub, "idVendor", "1d6b\n");
    attr(hub, "idProduct", "0002\n");
    attr(hub, "product", "xHCI Host Controller\n");
    attr(hub, "busnum", "1\n");
    attr(hub, "devnum", "1\n");
    attr(hub, "speed", "480\n");
    attr(hub, "bDeviceClass", "09\n");
    attr(hub, "maxchild", "%d\n", 12);
}

void removeSysfsRoot()
{
    const std::string r = root();
    if (!r.empty())
        removeTree(r);
}

void writeSysfsDevice(const Camera &camera, const Device &device)
{
    const std::string r = root();
    if (r.empty())
        return;
    const CameraSpec &s = camera.cameraSpec;
    const std::string dir = r + camera.usbPath();
    makeDirs(dir);
    attr(dir, "idVendor", "%04x\n", s.vid);
    attr(dir, "idProduct", "%04x\n", s.pid);
    attr(dir, "bcdDevice", "%04x\n", s.bcdDevice);
    attr(dir, "manufacturer", "%s\n", s.manufacturer.c_str());
    attr(dir, "product", "%s\n", s.product.c_str());
    attr(dir, "serial", "%s\n", s.serial.c_str());
    attr(dir, "busnum", "1\n");
    attr(dir, "devnum", "%d\n", device.devnum);
    attr(dir, "devpath", "%d\n", s.port);
    attr(dir, "speed", "480\n");
    attr(dir, "version", " 2.00\n");
    attr(dir, "bDeviceClass", "ef\n");
    attr(dir, "bDeviceSubClass", "02\n");
    attr(dir, "bDeviceProtocol", "01\n");
    attr(dir, "bMaxPacketSize0", "64\n");
    attr(dir, "bNumConfigurations", "1\n");
    attr(dir, "bConfigurationValue", "1\n");
    attr(dir, "bNumInterfaces", "%2d\n", 2);
    attr(dir, "bmAttributes", "%2x\n", 0x80);
    attr(dir, "bMaxPower", "500mA\n");
    attr(dir, "maxchild", "0\n");
    attr(dir, "removable", s.builtIn ? "fixed\n" : "removable\n");
    attr(dir, "authorized", "1\n");
    attr(dir, "dev", "189:%d\n", device.devnum - 1);
    link("../../devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(s.port),
         r + kCharPath + "189:" + std::to_string(device.devnum - 1));
    attr(dir, "uevent",
         "MAJOR=189\nMINOR=%d\nDEVNAME=bus/usb/001/%03d\nDEVTYPE=usb_device\nDRIVER=usb\n"
         "PRODUCT=%x/%x/%x\nTYPE=239/2/1\nBUSNUM=001\nDEVNUM=%03d\n",
         device.devnum - 1, device.devnum, s.vid, s.pid, s.bcdDevice, device.devnum);
    writeBytes(dir + "/descriptors", camera.descriptors.data(), camera.descriptors.size());

    const std::string port = "1-" + std::to_string(s.port);
    const std::string control = dir + "/" + port + ":1.0";
    writeInterface(camera, control, 0, 1, 1);
    writeInterface(camera, dir + "/" + port + ":1.1", 1, 2, 0);
    writeNode(camera, control, device.capture.number, 0);
    writeNode(camera, control, device.metadata.number, 1);

    // The class links come last, as the kernel announces the nodes after their device.
    for (int number : {device.capture.number, device.metadata.number}) {
        link("../../devices/pci0000:00/0000:00:14.0/usb1/" + port + "/" + port + ":1.0/video4linux/"
                 + nodeName(number),
             r + kClassPath + "/" + nodeName(number));
    }
}

void removeSysfsDevice(const Camera &camera, const Device &device)
{
    const std::string r = root();
    if (r.empty())
        return;
    for (int number : {device.capture.number, device.metadata.number}) {
        ::unlink((r + kClassPath + "/" + nodeName(number)).c_str());
        ::unlink((r + kCharPath + "81:" + std::to_string(number)).c_str());
    }
    ::unlink((r + kCharPath + "189:" + std::to_string(device.devnum - 1)).c_str());
    removeTree(r + camera.usbPath());
}

bool redirectPath(const char *path, std::string *redirected)
{
    if (!path || strncmp(path, "/sys/", 5) != 0)
        return false;
    const std::string &r = Registry::instance().sysfsRoot;
    if (r.empty())
        return false;
    // Collapse repeated slashes and "." parts, as the kernel's path walk would.
    std::string clean;
    clean.reserve(strlen(path));
    for (const char *p = path; *p;) {
        if (*p == '/') {
            while (*p == '/')
                ++p;
            if (p[0] == '.' && (p[1] == '/' || p[1] == '\0')) {
                ++p;
                continue;
            }
            clean += '/';
            continue;
        }
        clean += *p++;
    }
    if (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    for (const char *prefix : {kClassPath, kControllerPath}) {
        const size_t n = strlen(prefix);
        if (clean.compare(0, n, prefix) == 0 && (clean.size() == n || clean[n] == '/')) {
            *redirected = r + clean;
            return true;
        }
    }
    if (g_pciRootFromTree && clean == kPciRootPath) {
        *redirected = r + clean;
        return true;
    }
    // The device-number links of the fake nodes and USB device, and what lies below them.
    const size_t n = strlen(kCharPath);
    if (clean.compare(0, n, kCharPath) == 0) {
        const std::string entry = clean.substr(0, clean.find('/', n));
        struct stat st;
        if (entry.size() > n && real::lstat((r + entry).c_str(), &st) == 0) {
            *redirected = r + clean;
            return true;
        }
    }
    return false;
}

void unredirectPath(char *resolved)
{
    if (!resolved)
        return;
    const std::string &r = Registry::instance().sysfsRoot;
    if (r.empty() || strncmp(resolved, r.c_str(), r.size()) != 0
        || strncmp(resolved + r.size(), "/sys", 4) != 0)
        return;
    memmove(resolved, resolved + r.size(), strlen(resolved + r.size()) + 1);
}

} // namespace fakeuvc
