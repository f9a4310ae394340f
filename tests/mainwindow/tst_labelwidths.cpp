// Every translated text that the program draws into a place of fixed size fits that place, in
// English and in each of the six interface languages: the mode button captions, the titles of
// the tool panel's groups, the popups' titles, row labels, button captions and list entries,
// and the labels of the on-screen plates. Each place is measured in the real widgets, with
// their own fonts, against the room the layout really leaves (up to the next widget, the
// window's edge, or the symbol the picture carries). The windows of each language are also
// written as screenshots into <build>/screenshots/translations.
#include "MainWindowRig.h"
#include "ManualClock.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "mainwindow/FileNotice.h"
#include "mainwindow/KeyHelpWindow.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/ToolActions.h"
#include "sources/media/MediaFramework.h"
#include "widgets/ImageButton.h"
#include "widgets/Panel.h"
#include "widgets/Slider.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

namespace {

// Room a text keeps from whatever bounds it, so that it never touches a swatch, a field, an
// arrow or the edge of its picture.
constexpr int Gap = 3;

const char *const LANGUAGES[] = {"en", "zh-tw", "de", "es", "fr", "ja", "ru"};

// One translated text in one fixed place, measured.
struct Fit
{
    QString language;
    QString context;
    QString source;
    QString place;
    QString text;   // as shown; empty when the place did not show the translation
    int width = -1; // pixels the text takes
    int space = 0;  // pixels the place leaves it
};

struct Source
{
    const char *context;
    const char *source;
};

QString translated(const Source &s)
{
    return QCoreApplication::translate(s.context, s.source);
}

// What a label's text really inks, in the label's own coordinates: fonts that fall back to
// another face for some scripts set the line lower or higher than the label's box suggests.
QRect inkOf(QWidget *label)
{
    QImage picture(label->size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    label->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    QRect ink;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(picture.pixel(x, y)) != 0)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Whether `other` stands on the row of a text that inks `rows` (popup coordinates): either
// one's middle lies within the other's height. Widgets of the rows above and below that merely
// touch the text are not what bounds its width.
bool onRow(const QWidget *other, const QRect &rows)
{
    const QRect g = other->geometry();
    const int inkMiddle = rows.top() + rows.height() / 2;
    const int otherMiddle = g.top() + g.height() / 2;
    return (inkMiddle >= g.top() && inkMiddle <= g.bottom())
        || (otherMiddle >= rows.top() && otherMiddle <= rows.bottom());
}

// The room left of a popup's label: up to the nearest widget right of it on its row, or up to
// the popup's right edge.
int roomBeside(const QWidget *popup, QWidget *label)
{
    const QRect ink = inkOf(label);
    if (ink.isEmpty())
        return 0;
    const QRect rows(label->x(), label->y() + ink.top(), 1, ink.height());
    int right = popup->width();
    for (const QWidget *other : popup->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other == label || !other->isVisibleTo(popup) || other->x() <= label->x() || !onRow(other, rows))
            continue;
        right = std::min(right, other->x());
    }
    return right - label->x() - Gap;
}

// The first column right of the symbol drawn at the left end of a title picture: the last
// column of its left half that differs from the plain middle of the face.
int symbolEnd(const QImage &picture)
{
    const int middle = picture.width() / 2;
    int end = 0;
    for (int x = 0; x < middle; ++x) {
        for (int y = 0; y < picture.height(); ++y) {
            if (picture.pixel(x, y) != picture.pixel(middle, y)) {
                end = x + 1;
                break;
            }
        }
    }
    // The rounded corners differ from the middle too; they end within the first few columns.
    return end;
}

QLabel *findLabel(const QWidget *popup, const QString &text, bool prefix = false)
{
    for (QLabel *label : popup->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(popup))
            continue;
        if (prefix ? label->text().startsWith(text) : label->text() == text)
            return label;
    }
    return nullptr;
}

// The text field of a list box that the popup leaves visible.
int listRoom(const QWidget *popup, const QComboBox *box)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    option.frame = box->hasFrame();
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    const int left = box->x() + field.left();
    const int right = std::min(box->x() + field.right() + 1, popup->width());
    return right - left - Gap;
}

QImage shotOf(QWidget *window, QWidget *popup)
{
    const QRect all = popup ? window->geometry().united(popup->geometry()) : window->geometry();
    QImage shot(all.size(), QImage::Format_ARGB32_Premultiplied);
    shot.fill(QColor(0x10, 0x10, 0x10));
    QPainter painter(&shot);
    painter.drawPixmap(window->geometry().topLeft() - all.topLeft(), window->grab());
    if (popup)
        painter.drawPixmap(popup->geometry().topLeft() - all.topLeft(), popup->grab());
    return shot;
}

QString shotFolder()
{
    return QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/translations");
}

// The popups and what each shows in a fixed place: its title, its row labels, its button
// captions and the texts of its list boxes.
struct PopupPlaces
{
    const char *slot;
    Source title;
    QVector<Source> labels;
    QVector<Source> buttons;
    QVector<Source> listEntries;
};

const QVector<PopupPlaces> &popupPlaces()
{
    static const QVector<Source> lineRows = {{"MainWindow", "Line Width"}, {"MainWindow", "Line Color"}};
    static const QVector<Source> shapeRows = {
        {"MainWindow", "Line Width"}, {"MainWindow", "Line Color"}, {"MainWindow", "Fill Color"}};
    static const QVector<PopupPlaces> places = {
        {"lineHold", {"QObject", "Line"}, lineRows, {}, {}},
        {"rectangleHold", {"QObject", "Rectangle"}, shapeRows, {}, {}},
        {"freehandHold", {"QObject", "Freehand"}, lineRows, {}, {}},
        {"circleHold", {"QObject", "Circle"}, shapeRows, {}, {}},
        {"arrowHold", {"QObject", "Arrow"}, shapeRows, {}, {}},
        {"triangleHold", {"QObject", "Triangle"}, shapeRows, {}, {}},
        {"eraseHold", {"QObject", "Eraser"}, {{"MainWindow", "Width"}}, {}, {}},
        {"textHold", {"TextToolWindow", "Text"}, {{"TextToolWindow", "Color"}}, {}, {}},
        {"fillBackgroundHold", {"MainWindow", "Background Color"}, {{"MainWindow", "Fill Color"}}, {}, {}},
        {"maskHold", {"MaskToolWindow", "Effect"}, {}, {}, {}},
        {"effectHold", {"EffectToolWindow", "Color Effect"}, {}, {}, {}},
        {"settings",
         {"SettingsToolWindow", "Setting"},
         {{"SettingsToolWindow", "Flicker"},
          {"SettingsToolWindow", "Resolution"},
          {"SettingsToolWindow", "Capture"},
          {"SettingsToolWindow", "Time"},
          {"SettingsToolWindow", "Save as"},
          {"SettingsToolWindow", "Language"}},
         {{"SettingsToolWindow", "Browse"}, {"SettingsToolWindow", "OK"}, {"SettingsToolWindow", "Cancel"}},
         {{"SettingsToolWindow", "Single"},
          {"SettingsToolWindow", "Continuous"},
          {"SettingsToolWindow", "sec"},
          {"SettingsToolWindow", "min"},
          {"SettingsToolWindow", "hr"}}},
        {"About", {"AboutToolWindow", "About"}, {}, {{"AboutToolWindow", "OK"}}, {}},
    };
    return places;
}

} // namespace

class TestLabelWidths : public QObject
{
    Q_OBJECT
private:
    QVector<Fit> m_fits;
    QString m_language;

    Fit fit(const Source &s, const QString &place) const
    {
        Fit f;
        f.language = m_language;
        f.context = QString::fromLatin1(s.context);
        f.source = QString::fromLatin1(s.source);
        f.place = place;
        return f;
    }

    void measureCaption(const Source &s, const QString &place, const ImageButton *button, int symbol = 0)
    {
        Fit f = fit(s, place);
        if (button && button->text() == translated(s)) {
            f.text = button->text();
            f.width = QFontMetrics(button->font()).horizontalAdvance(f.text);
            // The caption is centred; a symbol at one end takes the same room from both.
            f.space = button->width() - 2 * (symbol + Gap);
        }
        m_fits.append(f);
    }

    void measureLabel(const Source &s, const QString &place, QWidget *popup, bool prefix = false)
    {
        Fit f = fit(s, place);
        if (QLabel *label = findLabel(popup, translated(s), prefix)) {
            f.text = label->text();
            f.width = QFontMetrics(label->font()).horizontalAdvance(f.text);
            f.space = roomBeside(popup, label);
        }
        m_fits.append(f);
    }

    void measureListEntries(const Source &s, const QString &place, const QWidget *popup)
    {
        // The widest entry that carries the text.
        Fit f = fit(s, place);
        const QString text = translated(s);
        for (const QComboBox *box : popup->findChildren<QComboBox *>()) {
            const QFontMetrics metrics(box->font());
            for (int i = 0; i < box->count(); ++i) {
                const QString entry = box->itemText(i);
                const bool carries = entry == text || entry.endsWith(QLatin1Char(' ') + text);
                if (!carries || metrics.horizontalAdvance(entry) <= f.width)
                    continue;
                f.text = entry;
                f.width = metrics.horizontalAdvance(entry);
                f.space = listRoom(popup, box);
            }
        }
        m_fits.append(f);
    }

    void measureWindow(MainWindow &w)
    {
        const struct
        {
            WindowMode mode;
            const char *source;
        } modes[] = {{MODE_LIVE, "Live"},
                     {MODE_FILM, "Film"},
                     {MODE_PHOTOGRAPH, "Photograph"},
                     {MODE_DRAWING_BOARD, "Drawing Board"}};
        for (const auto &m : modes)
            measureCaption({"MainWindow", m.source}, "mode button", w.modeButton(m.mode));

        const QImage open(QStringLiteral(":/icons/Normal/TOOL_TITLE_OPEN.png"));
        const QImage closed(QStringLiteral(":/icons/Normal/TOOL_TITLE_CLOSE.png"));
        QVERIFY(!open.isNull() && !closed.isNull());
        const int symbol = std::max(symbolEnd(open), symbolEnd(closed));
        for (const char *title : {"Noting", "Assisting", "Adjustment", "Recording"}) {
            const Source s{"MainWindow", title};
            const ImageButton *found = nullptr;
            for (const ImageButton *b : w.toolPanel()->findChildren<ImageButton *>()) {
                if (b->text() == translated(s))
                    found = b;
            }
            measureCaption(s, "tool panel group title", found, symbol);
        }
    }

    void measurePopups(MainWindow &w)
    {
        for (const PopupPlaces &p : popupPlaces()) {
            // The About button belongs to the window; every other popup opens from a tool action.
            QObject *target = qstrcmp(p.slot, "About") == 0 ? static_cast<QObject *>(&w) : w.toolActions();
            QVERIFY(QMetaObject::invokeMethod(target, p.slot));
            QWidget *popup = w.popupSlot().popup();
            QVERIFY2(popup, p.slot);
            QVERIFY(QTest::qWaitForWindowExposed(popup));
            const QString where = QStringLiteral("popup of %1").arg(QLatin1String(p.slot));

            Fit title = fit(p.title, where + ", title");
            for (QLabel *label : popup->findChildren<QLabel *>()) {
                if (label->pos() == QPoint(8, 2) && label->text() == translated(p.title)) {
                    title.text = label->text();
                    title.width = QFontMetrics(label->font()).horizontalAdvance(title.text);
                    title.space = roomBeside(popup, label);
                }
            }
            m_fits.append(title);

            for (const Source &s : p.labels)
                measureLabel(s, where + ", row label", popup);
            if (qstrcmp(p.slot, "settings") == 0) {
                // Japanese and Russian name the recordings' folder with a text of their own.
                const bool own = m_language == QLatin1String("ja") || m_language == QLatin1String("ru");
                measureLabel({"SettingsToolWindow", own ? "RecordingSave" : "Recording"},
                             where + ", row label", popup);
            }
            if (qstrcmp(p.slot, "About") == 0)
                measureLabel({"AboutToolWindow", "Version"}, where + ", version line", popup, true);

            for (const Source &s : p.buttons) {
                for (const ImageButton *b : popup->findChildren<ImageButton *>()) {
                    if (b->text() == translated(s))
                        measureCaption(
                            s, QStringLiteral("%1, button at (%2, %3)").arg(where).arg(b->x()).arg(b->y()),
                            b);
                }
            }
            for (const Source &s : p.listEntries)
                measureListEntries(s, where + ", list entry", popup);

            const QString file =
                QStringLiteral("%1/%2_popup_%3.png").arg(shotFolder(), m_language, QLatin1String(p.slot));
            QVERIFY2(shotOf(&w, popup).save(file), qPrintable(file));
        }
        w.popupSlot().close();
    }

    // The labelled plates of the on-screen display, painted by a canvas over a grey picture.
    // The label is what the painted canvas shows beyond the plate's own picture; centred in the
    // room right of the plate's symbol, it must stay inside that room.
    void measurePlates()
    {
        constexpr int W = 640;
        constexpr int H = 360;
        constexpr int SymbolWidth = 38; // the plates carry their symbol in the first 38 px
        ImageCanvas canvas;
        canvas.resize(W, H);
        QImage still(W, H, QImage::Format_RGB888);
        still.fill(QColor(128, 128, 128));
        canvas.pipeline()->stillImageCaptured(&still);
        ManualClock clock;
        OSDProcessor osd(&canvas, nullptr, nullptr, clock);
        const auto render = [&canvas] {
            return canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        };

        struct Plate
        {
            Source source;
            QString picture;
            QPoint at;
            std::function<void()> prepare;
            std::function<void()> show;
        };
        const QVector<Plate> list = {
            // A quarter turn of a landscape picture fits it below zoom 1.
            {{"OSDProcessor", "Best fit"},
             "OSD_ZOOM_OUT",
             {W - 100, H - 50},
             [&] {
                 canvas.rotateClockwise();
                 canvas.zoomOut();
             },
             [&] { osd.showZoomOut(); }},
            {{"OSDProcessor", "Color"},
             "OSD_COLOR_COLOR",
             {75, H - 50},
             [&] { canvas.pipeline()->setEffect(EFFECT_COLOR); },
             [&] { osd.showColor(); }},
            {{"OSDProcessor", "B & W"},
             "OSD_COLOR_BW",
             {75, H - 50},
             [&] { canvas.pipeline()->setEffect(EFFECT_BW); },
             [&] { osd.showColor(); }},
            {{"OSDProcessor", "Negative"},
             "OSD_COLOR_NEGATIVE",
             {75, H - 50},
             [&] { canvas.pipeline()->setEffect(EFFECT_NEGATIVE); },
             [&] { osd.showColor(); }},
            {{"OSDProcessor", "Mosaic"},
             "OSD_COLOR_MOSAIC",
             {75, H - 50},
             [&] { canvas.pipeline()->setEffect(EFFECT_MOSAIC); },
             [&] { osd.showColor(); }},
        };
        for (const Plate &p : list) {
            // Every earlier indication has gone.
            clock.advance(10 * OSDProcessor::SHOW_MS);
            p.prepare();
            const QImage before = render();
            p.show();
            const QImage painted = render();

            const QImage picture(QStringLiteral(":/icons/OSD/%1.png").arg(p.picture));
            QVERIFY2(!picture.isNull(), qPrintable(p.picture));
            QImage expected = before.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            {
                QPainter painter(&expected);
                painter.drawImage(p.at, picture);
            }
            expected = expected.convertToFormat(QImage::Format_RGB32);
            const QRect plate(p.at, picture.size());
            // Wide enough around the plate for a label that runs out of it.
            const QRect around = plate.adjusted(-SymbolWidth, 0, SymbolWidth, 0) & painted.rect();
            QRect ink;
            for (int y = around.top(); y <= around.bottom(); ++y) {
                for (int x = around.left(); x <= around.right(); ++x) {
                    if (painted.pixel(x, y) != expected.pixel(x, y))
                        ink |= QRect(x, y, 1, 1);
                }
            }

            Fit f = fit(p.source, QStringLiteral("on-screen plate %1").arg(p.picture));
            if (!ink.isEmpty()) {
                f.text = translated(p.source);
                const int left = plate.left() + SymbolWidth;
                const int right = plate.right() + 1;
                // Twice the reach from the room's middle: a text off its centre needs more.
                const double middle = (left + right) / 2.0;
                f.width = int(std::ceil(2 * std::max(middle - ink.left(), ink.right() + 1 - middle)));
                f.space = right - left - 2 * Gap;
            }
            m_fits.append(f);

            const QString file = QStringLiteral("%1/%2_plate_%3.png")
                                     .arg(shotFolder(), m_language,
                                          QString::fromLatin1(p.source.source).remove(' ').remove('&'));
            QVERIFY2(painted.copy(around.adjusted(0, -10, 0, 10)).save(file), qPrintable(file));
        }
    }

    // At the smallest window the photograph counter stays clear of the interval selector and
    // its scale and shows its whole text, for the last picture of folders from a few pictures up
    // to ten thousand.
    void measurePhotographBarAtTheMinimum(MainWindow &w)
    {
        w.resize(w.minimumSize());
        QVERIFY(MainWindowRig::selectMode(w, MODE_PHOTOGRAPH));
        PhotographBar *bar = w.photographBar();
        QLabel *counter = bar->counterLabel();
        if (!bar->timeButton()->isChecked())
            QTest::mouseClick(bar->timeButton(), Qt::LeftButton);
        QVERIFY(bar->intervalSelector()->isVisible() && bar->intervalLabel()->isVisible());
        for (const int count : {3, 99, 100, 999, 1000, 9999, 10000, 99999}) {
            bar->showCounter(count - 1, count);
            const QString where = QStringLiteral("%1, %2").arg(m_language, counter->text());
            const QRect counterRect = counter->geometry();
            QVERIFY2(counter->fontMetrics().horizontalAdvance(counter->text()) <= counterRect.width(),
                     qPrintable(where));
            QVERIFY2(counter->fontMetrics().boundingRect(counter->text()).right() < counterRect.width(),
                     qPrintable(where));
            for (const QWidget *beside : {static_cast<const QWidget *>(bar->intervalSelector()),
                                          static_cast<const QWidget *>(bar->intervalLabel())}) {
                QVERIFY2(!beside->geometry().intersects(counterRect),
                         qPrintable(QStringLiteral("%1: %2 over the counter")
                                        .arg(where, QLatin1String(beside->metaObject()->className()))));
            }
            QVERIFY2(QRect(QPoint(), w.size()).contains(counterRect), qPrintable(where));
            if (count == 3 || count == 100 || count >= 9999) {
                const QString file = QStringLiteral("%1/%2_photograph_minimum_%3.png")
                                         .arg(shotFolder(), m_language)
                                         .arg(count);
                QVERIFY2(shotOf(&w, nullptr).save(file), qPrintable(file));
            }
        }
        bar->showCounter(-1, 0);
    }

    // For looking at: the key list with what holding a drawing button does, and a text being
    // typed over the live picture (the page shows through the editor's dashed frame).
    void shootKeyListAndText(MainWindow &w)
    {
        w.toggleKeyHelp();
        QVERIFY(w.keyHelp() && w.keyHelp()->isVisible());
        const QString list = QStringLiteral("%1/%2_keylist.png").arg(shotFolder(), m_language);
        QVERIFY2(w.keyHelp()->grab().save(list), qPrintable(list));
        w.toggleKeyHelp();
        ImageCanvas *canvas = w.currentCanvas();
        canvas->setTool(TOOL_TEXT);
        const QPoint at(canvas->width() / 3, canvas->height() / 3);
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(canvas->textEditor()->isVisible());
        QTest::keyClicks(canvas->textEditor(), QStringLiteral("Tafel 12"));
        const QString text = QStringLiteral("%1/%2_text_typing.png").arg(shotFolder(), m_language);
        QVERIFY2(shotOf(&w, nullptr).save(text), qPrintable(text));
        QTest::keyClick(canvas->textEditor(), Qt::Key_Escape);
        QVERIFY(!canvas->textEditor()->isVisible());
        canvas->clearAnnotations();
        canvas->setTool(TOOL_HAND);
    }

    void measureLanguage(const QString &language)
    {
        m_language = language;
        {
            QSettings settings;
            settings.setValue(QStringLiteral("language"), language);
            settings.sync();
        }
        Config::resetForTesting();
        QTranslator translator;
        if (language != QLatin1String("en")) {
            QVERIFY2(translator.load(QStringLiteral(":/translations/VOREN_%1.qm").arg(language)),
                     qPrintable(language));
            QCoreApplication::installTranslator(&translator);
        }
        {
            auto w = MainWindowRig::makeWindow();
            w->move(0, 0);
            measureWindow(*w);
            const QString file = QStringLiteral("%1/%2_window.png").arg(shotFolder(), language);
            QVERIFY2(shotOf(w.get(), nullptr).save(file), qPrintable(file));
            // Where a snapshot went, as the window says it.
            QImage picture(320, 240, QImage::Format_RGB32);
            picture.fill(QColor(30, 160, 90));
            w->fileNotice()->showSnapshot(Config::snapshotPath() + "/2024-05-06_07-08-09.jpg", picture);
            const QString notice = QStringLiteral("%1/%2_file_notice.png").arg(shotFolder(), language);
            QVERIFY2(shotOf(w.get(), nullptr).save(notice), qPrintable(notice));
            w->fileNotice()->hide();
            measurePopups(*w);
            shootKeyListAndText(*w);
            measurePhotographBarAtTheMinimum(*w);
        }
        measurePlates();
        QCoreApplication::removeTranslator(&translator);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
        QVERIFY(MediaFramework::initialize());
        QDir(shotFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(shotFolder()));
        for (const char *language : LANGUAGES) {
            measureLanguage(QString::fromLatin1(language));
            if (QTest::currentTestFailed())
                return;
        }
    }

    void cleanupTestCase()
    {
        Config::resetForTesting();
        MediaFramework::shutdown();
    }

    void textFitsItsPlace_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("space");
        for (const Fit &f : qAsConst(m_fits)) {
            const QString tag =
                QStringLiteral("%1: %2 \"%3\" (%4)").arg(f.language, f.context, f.source, f.place);
            QTest::newRow(qPrintable(tag))
                << f.language << f.context << f.source << f.place << f.text << f.width << f.space;
        }
    }

    void textFitsItsPlace()
    {
        QFETCH(QString, language);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, place);
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, space);
        const QString what =
            QStringLiteral("%1, %2 \"%3\" -> \"%4\" in %5").arg(language, context, source, text, place);
        QVERIFY2(width >= 0, qPrintable(what + ": the translation is not shown there"));
        QVERIFY2(width <= space,
                 qPrintable(QStringLiteral("%1: %2 px in %3 px, %4 px too wide")
                                .arg(what)
                                .arg(width)
                                .arg(space)
                                .arg(width - space)));
    }
};

QTEST_MAIN(TestLabelWidths)
#include "tst_labelwidths.moc"
