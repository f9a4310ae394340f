#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

class ImageButton;
class QGridLayout;
class QPaintEvent;
class QResizeEvent;

// The main window's tool column: a fixed-width panel with a three-piece background in which
// tool widgets sit two per row in groups, each under a title button spanning both columns.
// Clicking a title collapses or expands the enabled members of its group.
//
// A group is the title at one of the title positions and the items after it up to the next
// title (or the end).
//
// Threads: GUI thread only.
class Panel : public QWidget
{
    Q_OBJECT
public:
    explicit Panel(QWidget *parent);

    // Starts a new group under a title button with this caption; returns the title button.
    ImageButton *addTitle(const QString &title);
    // Puts a tool widget into the current group; the panel takes ownership.
    void addWidget(QWidget *widget);
    // Closes the content with a gap that takes the remaining height.
    void addStretch();
    // Shows every enabled item and hides every disabled one; titles keep their pictures.
    void refresh();

    QGridLayout *gridLayout() const { return m_layout; }

public slots:
    void toggleGroup();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_top;
    QImage m_middle;
    QImage m_middleSource;
    QImage m_bottom;
    QGridLayout *m_layout = nullptr;
    int m_row = 0;
    int m_column = 0;
    QList<QWidget *> m_items;
    QList<int> m_titlePositions;
};
