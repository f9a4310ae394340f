#include "sources/photograph/PictureListing.h"

#include <sys/stat.h>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

struct DirCloser
{
    void operator()(DIR *d) const { closedir(d); }
};

} // namespace

bool PictureListing::hasPictureSuffix(const QString &name)
{
    static const char *const suffixes[] = {".bmp", ".jpg", ".jpeg", ".png", ".gif"};
    for (const char *suffix : suffixes) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QVector<PictureFile> PictureListing::list(const QByteArray &folder)
{
    QVector<PictureFile> files;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.constData()));
    if (!dir)
        return files;
    const int dirFd = dirfd(dir.get());
    QByteArray prefix = folder;
    if (!prefix.endsWith('/'))
        prefix += '/';
    while (const dirent *entry = readdir(dir.get())) {
        const QByteArray raw(entry->d_name);
        if (raw.startsWith('.'))
            continue; // hidden, like "." and ".."
        const QString name = QString::fromUtf8(raw);
        if (!hasPictureSuffix(name))
            continue;
        struct stat st = {};
        if (fstatat(dirFd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)
            || faccessat(dirFd, entry->d_name, R_OK, 0) != 0)
            continue;
        files.append(PictureFile{prefix + raw, name});
    }
    std::sort(files.begin(), files.end(), [](const PictureFile &a, const PictureFile &b) {
        if (a.name != b.name)
            return a.name < b.name;
        return a.localPath < b.localPath;
    });
    return files;
}
