#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Takes the place of the desktop for local files while it lives: what the program asks the
// desktop to open (QDesktopServices::openUrl with a file: URL) is recorded, not opened.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    OpenedUrls();
    ~OpenedUrls() override;

    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};
