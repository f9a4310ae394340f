#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// Registers pictures of a test's own under the resource root (":/<path>") for as long as it
// lives, for widgets that only ever load their pictures from the resource tree. The pictures are
// compiled by the toolkit's resource compiler into a binary resource file and registered from
// there. Paths must not clash with the program's own resource tree.
class TestResourceTree
{
public:
    // pictures: resource path below ":/" (e.g. "icons/Normal/TEST_BUTTON.png") -> picture,
    // written as PNG.
    explicit TestResourceTree(const QMap<QString, QImage> &pictures);
    ~TestResourceTree();
    TestResourceTree(const TestResourceTree &) = delete;
    TestResourceTree &operator=(const TestResourceTree &) = delete;

    bool isValid() const { return m_registered; }
    QString errorString() const { return m_error; }

private:
    QTemporaryDir m_dir;
    QString m_rccFile;
    QString m_error;
    bool m_registered = false;
};

// A picture of one colour, for tests that tell pictures apart by their pixels.
QImage solidPicture(int width, int height, QRgb color);
