#pragma once

#include <QString>
#include <QtGlobal>

#include <sys/resource.h>

// Full disks for the tests of output failures.
//
// SmallFileSystem mounts a tmpfs of a given size on a temporary folder, in a mount namespace
// private to the test process, so nothing stays mounted when the process ends, however it
// ends. That needs privileges: enterPrivateMounts() must run before the process starts a
// thread (call it from a static initialiser of the test); where it fails, no small file system
// is available and the test falls back on FileSizeLimit or skips (DOCCAM_TEST_NO_MOUNT=1 makes
// that happen where mounting is allowed).
//
// FileSizeLimit caps the size of every file the process writes (RLIMIT_FSIZE) while it lives;
// a write past it fails with EFBIG instead of raising SIGXFSZ.
namespace SmallFileSystem {

// Makes the process's mounts private to it; false without the privilege to do so.
bool enterPrivateMounts();
bool available();

class Mount
{
public:
    explicit Mount(qint64 bytes);
    ~Mount();
    Mount(const Mount &) = delete;
    Mount &operator=(const Mount &) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_path; }
    qint64 freeBytes() const;
    // Writes a filler file so that `bytes` stay free (within a block); false when it cannot.
    bool fillLeaving(qint64 bytes, const QString &name = QStringLiteral(".filler"));
    // Mounts it again read-only: nothing in it can be made, changed or removed.
    bool makeReadOnly();

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace SmallFileSystem

class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool isSet() const { return m_set; }

private:
    struct rlimit m_previous;
    bool m_set = false;
    void (*m_previousHandler)(int) = nullptr;
};
