#include "TestResourceTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QResource>

TestResourceTree::TestResourceTree(const QMap<QString, QImage> &pictures)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    QString qrc = QStringLiteral("<!DOCTYPE RCC><RCC version=\"1.0\"><qresource prefix=\"/\">\n");
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        const QString file = m_dir.filePath(QStringLiteral("files/") + it.key());
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!it.value().save(file, "PNG")) {
            m_error = QStringLiteral("cannot write ") + file;
            return;
        }
        qrc += QStringLiteral("  <file alias=\"%1\">%2</file>\n").arg(it.key(), file);
    }
    qrc += QStringLiteral("</qresource></RCC>\n");
    const QString qrcFile = m_dir.filePath(QStringLiteral("pictures.qrc"));
    QFile out(qrcFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(qrc.toUtf8()) < 0) {
        m_error = QStringLiteral("cannot write ") + qrcFile;
        return;
    }
    out.close();

    m_rccFile = m_dir.filePath(QStringLiteral("pictures.rcc"));
    QProcess rcc;
    rcc.start(QStringLiteral(DOCCAM_RCC),
              {QStringLiteral("-binary"), qrcFile, QStringLiteral("-o"), m_rccFile});
    if (!rcc.waitForFinished(30000) || rcc.exitStatus() != QProcess::NormalExit || rcc.exitCode() != 0) {
        m_error = QStringLiteral("rcc failed: ") + QString::fromLocal8Bit(rcc.readAllStandardError());
        return;
    }
    m_registered = QResource::registerResource(m_rccFile);
    if (!m_registered)
        m_error = QStringLiteral("cannot register ") + m_rccFile;
}

TestResourceTree::~TestResourceTree()
{
    if (m_registered)
        QResource::unregisterResource(m_rccFile);
}

QImage solidPicture(int width, int height, QRgb color)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(color);
    return picture;
}
