#define QTEST_QPA_MOUSE_HANDLING

#include "widgets/ImageButton.h"
#include "widgets/Panel.h"

#include <QGridLayout>
#include <QSpacerItem>
#include <QtTest>

#include <memory>

namespace {

struct Cell
{
    int row, column, rowSpan, columnSpan;
    bool operator==(const Cell &o) const
    {
        return row == o.row && column == o.column && rowSpan == o.rowSpan && columnSpan == o.columnSpan;
    }
};

Cell cellOf(QGridLayout *grid, int index)
{
    Cell c{};
    grid->getItemPosition(index, &c.row, &c.column, &c.rowSpan, &c.columnSpan);
    return c;
}

Cell cellOf(QGridLayout *grid, QWidget *widget)
{
    return cellOf(grid, grid->indexOf(widget));
}

QWidget *toolWidget()
{
    auto *widget = new QWidget;
    widget->setFixedSize(60, 32);
    return widget;
}

// How a title looks with the given picture, drawn by a button of its own for comparison.
QImage titleLook(const QString &iconName, const QString &caption)
{
    QWidget holder;
    ImageButton button(iconName, &holder, QPoint(0, 0));
    button.setText(caption);
    button.setFont(QFont("Arial", 10));
    button.setTextColor(Qt::white);
    return button.grab().toImage();
}

} // namespace

namespace QTest {
template<>
char *toString(const Cell &c)
{
    return qstrdup(
        QString("(%1, %2, %3 x %4)").arg(c.row).arg(c.column).arg(c.rowSpan).arg(c.columnSpan).toLatin1());
}
} // namespace QTest

class TestPanel : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QWidget> m_window;
    Panel *m_panel = nullptr;
    ImageButton *m_titleA = nullptr;
    ImageButton *m_titleB = nullptr;
    QList<QWidget *> m_groupA; // three tools
    QList<QWidget *> m_groupB; // two tools

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(300, 500);
        m_panel = new Panel(m_window.get());
        m_panel->setGeometry(40, 0, m_panel->width(), 480);
        m_titleA = m_panel->addTitle("Tools");
        m_groupA = {toolWidget(), toolWidget(), toolWidget()};
        for (QWidget *w : qAsConst(m_groupA))
            m_panel->addWidget(w);
        m_titleB = m_panel->addTitle("Shapes");
        m_groupB = {toolWidget(), toolWidget()};
        for (QWidget *w : qAsConst(m_groupB))
            m_panel->addWidget(w);
        m_panel->addStretch();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(!m_titleA->size().isEmpty());
    }
    void cleanup() { m_window.reset(); }

    void gridRowsAndTitles()
    {
        QGridLayout *grid = m_panel->gridLayout();
        QCOMPARE(grid->spacing(), 0);
        QCOMPARE(grid->contentsMargins(), QMargins(0, 5, 4, 5));
        QCOMPARE(cellOf(grid, m_titleA), (Cell{0, 0, 1, 2}));
        QCOMPARE(cellOf(grid, m_groupA[0]), (Cell{1, 0, 1, 1}));
        QCOMPARE(cellOf(grid, m_groupA[1]), (Cell{1, 1, 1, 1}));
        QCOMPARE(cellOf(grid, m_groupA[2]), (Cell{2, 0, 1, 1}));
        // The odd group leaves (2, 1) empty; the next title starts a new row.
        QVERIFY(grid->itemAtPosition(2, 1) == nullptr);
        QCOMPARE(cellOf(grid, m_titleB), (Cell{3, 0, 1, 2}));
        QCOMPARE(cellOf(grid, m_groupB[0]), (Cell{4, 0, 1, 1}));
        QCOMPARE(cellOf(grid, m_groupB[1]), (Cell{4, 1, 1, 1}));
        // The closing gap spans both columns of the next row.
        const int last = grid->count() - 1;
        QSpacerItem *spacer = grid->itemAt(last)->spacerItem();
        QVERIFY(spacer);
        QCOMPARE(cellOf(grid, last), (Cell{5, 0, 1, 2}));
        QCOMPARE(spacer->sizeHint(), QSize(0, 10000));
        QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
        QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
        // Everything belongs to the panel.
        for (QWidget *w : m_groupA + m_groupB)
            QCOMPARE(w->parentWidget(), m_panel);
        // Laid out top to bottom in that order.
        QCOMPARE(m_titleA->y(), 5);
        QVERIFY(m_groupA[0]->y() >= m_titleA->geometry().bottom());
        QCOMPARE(m_groupA[1]->y(), m_groupA[0]->y());
        QVERIFY(m_groupA[1]->x() > m_groupA[0]->x());
        QVERIFY(m_titleB->y() > m_groupA[2]->geometry().bottom());
    }

    void oddGroupThenStretch()
    {
        Panel panel(nullptr);
        panel.addTitle("One");
        panel.addWidget(toolWidget());
        panel.addStretch();
        QGridLayout *grid = panel.gridLayout();
        QCOMPARE(cellOf(grid, grid->count() - 1), (Cell{2, 0, 1, 2}));
    }

    void titleLooksOpen()
    {
        QCOMPARE(m_titleA->text(), QString("Tools"));
        QCOMPARE(m_titleA->font().family(), QString("Arial"));
        QCOMPARE(m_titleA->font().pointSize(), 10);
        QCOMPARE(m_titleA->textColor(), QColor(Qt::white));
        QCOMPARE(m_titleA->grab().toImage(), titleLook("TOOL_TITLE_OPEN", "Tools"));
        QVERIFY(titleLook("TOOL_TITLE_OPEN", "Tools") != titleLook("TOOL_TITLE_CLOSE", "Tools"));
    }

    void fixedWidthAndBackground()
    {
        const QImage top(":/icons/Background_Sub/ICON_BK_TOP.png");
        const QImage middle(":/icons/Background_Sub/ICON_BK_MID.png");
        const QImage bottom(":/icons/Background_Sub/ICON_BK_BOT.png");
        QVERIFY(!top.isNull() && !middle.isNull() && !bottom.isNull());
        QCOMPARE(m_panel->width(), middle.width());
        QCOMPARE(m_panel->minimumWidth(), middle.width());
        QCOMPARE(m_panel->maximumWidth(), middle.width());
        // Hide the tools so the pieces show through.
        for (QWidget *w : m_groupA + m_groupB + QList<QWidget *>{m_titleA, m_titleB})
            w->hide();
        const QImage shown = m_panel->grab().toImage();
        const int h = m_panel->height();
        const int x = middle.width() / 2;
        QCOMPARE(shown.pixel(x, 0), top.pixel(x, 0));
        QCOMPARE(shown.pixel(x, top.height()), middle.pixel(x, 0));
        QCOMPARE(shown.pixel(x, h - bottom.height() - 1), middle.pixel(x, middle.height() - 1));
        QCOMPARE(shown.pixel(x, h - 1), bottom.pixel(x, bottom.height() - 1));
    }

    void titleClickCollapsesAndExpands()
    {
        QTest::mouseClick(m_titleA, Qt::LeftButton);
        for (QWidget *w : qAsConst(m_groupA))
            QVERIFY(w->isHidden());
        for (QWidget *w : qAsConst(m_groupB))
            QVERIFY(w->isVisible());
        QCOMPARE(m_titleA->grab().toImage(), titleLook("TOOL_TITLE_CLOSE", "Tools"));
        // The next group moves up into the freed room.
        QTRY_COMPARE(m_titleB->y(), m_titleA->geometry().bottom() + 1);

        QTest::mouseClick(m_titleA, Qt::LeftButton);
        for (QWidget *w : qAsConst(m_groupA))
            QVERIFY(w->isVisible());
        QCOMPARE(m_titleA->grab().toImage(), titleLook("TOOL_TITLE_OPEN", "Tools"));
    }

    void toggleLeavesDisabledMembersAlone_data()
    {
        QTest::addColumn<QList<bool>>("enabled");
        QTest::addColumn<QList<bool>>("hiddenBefore");
        QTest::addColumn<QList<bool>>("hiddenAfter");
        QTest::addColumn<QString>("title");
        QTest::newRow("one disabled, shown")
            << QList<bool>{true, false, true} << QList<bool>{false, false, false}
            << QList<bool>{true, false, true} << "TOOL_TITLE_CLOSE";
        QTest::newRow("all disabled") << QList<bool>{false, false, false} << QList<bool>{false, true, false}
                                      << QList<bool>{false, true, false} << "TOOL_TITLE_CLOSE";
        // The last enabled member decides the title.
        QTest::newRow("mixed visibility") << QList<bool>{true, true, false} << QList<bool>{false, true, true}
                                          << QList<bool>{true, false, true} << "TOOL_TITLE_OPEN";
        QTest::newRow("collapsed, disabled one stays hidden")
            << QList<bool>{true, false, true} << QList<bool>{true, true, true}
            << QList<bool>{false, true, false} << "TOOL_TITLE_OPEN";
    }
    void toggleLeavesDisabledMembersAlone()
    {
        QFETCH(QList<bool>, enabled);
        QFETCH(QList<bool>, hiddenBefore);
        QFETCH(QList<bool>, hiddenAfter);
        QFETCH(QString, title);
        for (int i = 0; i < 3; ++i) {
            m_groupA[i]->setEnabled(enabled[i]);
            m_groupA[i]->setHidden(hiddenBefore[i]);
        }
        QTest::mouseClick(m_titleA, Qt::LeftButton);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_groupA[i]->isHidden(), hiddenAfter[i]);
        QCOMPARE(m_titleA->grab().toImage(), titleLook(title, "Tools"));
        // The other group is not touched.
        for (QWidget *w : qAsConst(m_groupB))
            QVERIFY(w->isVisible());
    }

    void refreshShowsEnabledMembers()
    {
        QTest::mouseClick(m_titleA, Qt::LeftButton); // collapse
        m_groupA[1]->setEnabled(false);
        m_groupB[0]->setEnabled(false);
        m_panel->refresh();
        QVERIFY(m_groupA[0]->isVisible());
        QVERIFY(m_groupA[1]->isHidden());
        QVERIFY(m_groupA[2]->isVisible());
        QVERIFY(m_groupB[0]->isHidden());
        QVERIFY(m_groupB[1]->isVisible());
        QVERIFY(m_titleA->isVisible());
        // The title keeps its collapsed picture.
        QCOMPARE(m_titleA->grab().toImage(), titleLook("TOOL_TITLE_CLOSE", "Tools"));
    }

    void onlyTitlesToggle()
    {
        // A stranger wired to the slot changes nothing.
        auto *stranger = new QPushButton("x", m_window.get());
        stranger->setGeometry(200, 200, 40, 20);
        stranger->show();
        connect(stranger, &QPushButton::clicked, m_panel, &Panel::toggleGroup);
        QTest::mouseClick(stranger, Qt::LeftButton);
        for (QWidget *w : m_groupA + m_groupB)
            QVERIFY(w->isVisible());
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
