#pragma once

#include <QLineEdit>

// A read-only field for a folder's path that shows the whole path, elided in the middle where
// it does not fit (its start and its last folder stay in sight), with the full path in its
// tooltip. text() is the path as set.
//
// Threads: GUI thread only.
class ElidedPathField : public QLineEdit
{
    Q_OBJECT
public:
    explicit ElidedPathField(const QString &path, QWidget *parent = nullptr);

    // The text as it is shown now.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
