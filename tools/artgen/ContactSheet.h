#pragma once
// The contact sheet: every picture of the manifest on one labelled PNG, in manifest order,
// grouped by section, button states side by side, so the skin can be judged in one glance.
//
// Thread contract: used on the tool's only thread.
#include <QFont>
#include <QImage>
#include <QString>
#include <QVector>

class ContactSheet
{
public:
    explicit ContactSheet(const QFont &labelFont)
        : m_font(labelFont)
    { }

    // Starts a new labelled row of cells.
    void section(const QString &title);
    // One cell: the pictures side by side over a checkerboard, with a label underneath.
    void add(const QString &label, const QVector<QImage> &pictures);
    QImage render() const;

private:
    struct Cell
    {
        QString label;
        QVector<QImage> pictures;
    };
    struct Section
    {
        QString title;
        QVector<Cell> cells;
    };
    static QString label(const Cell &cell);
    QSize cellSize(const Cell &cell) const;
    QSize layout(QVector<QVector<QPoint>> *positions, QVector<int> *titleY) const;

    QFont m_font;
    QVector<Section> m_sections;
};
