#include "toolwindows/SettingsToolWindow.h"

#include "common/Config.h"
#include "common/SkinPicture.h"
#include "common/UserPrompts.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ElidedPathField.h"
#include "widgets/ImageButton.h"

#include <QComboBox>
#include <QFont>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

struct Interval
{
    const char *prefix;
    int unit; // 0 sec, 1 min, 2 hr
    quint64 seconds;
};

const Interval Intervals[SettingsToolWindow::IntervalCount] = {
    {"1 ", 0, 1},   {"2 ", 0, 2},    {"3 ", 0, 3},     {"4 ", 0, 4},     {"5 ", 0, 5},    {"10 ", 0, 10},
    {"20 ", 0, 20}, {"30 ", 0, 30},  {"1 ", 1, 60},    {"2 ", 1, 120},   {"3 ", 1, 180},  {"4 ", 1, 240},
    {"5 ", 1, 300}, {"10 ", 1, 600}, {"20 ", 1, 1200}, {"30 ", 1, 1800}, {"1 ", 2, 3600},
};

const int SnapshotModes[] = {0, 1};

const int LabelX = 8;
const int ControlX = 105;
// Fields and boxes end inside the popup, a box's arrow included (a style-sheet width does not
// size a combo box).
const int ControlWidth = 134;
const int RowHeight = 24;
const int FolderRowHeight = 49;
// Where the language row goes: below the folders, above OK and Cancel.
const int LanguageRowY = 218;

// Each language by its own name, as a speaker looks for it.
QString languageName(const QString &code)
{
    static const QHash<QString, QString> names = {{"en", "English"},
                                                  {"de", "Deutsch"},
                                                  {"es", QStringLiteral("Español")},
                                                  {"fr", QStringLiteral("Français")},
                                                  {"ja", QStringLiteral("日本語")},
                                                  {"ru", QStringLiteral("Русский")},
                                                  {"zh-tw", QStringLiteral("繁體中文")}};
    return names.value(code, code);
}

// The popup's picture with `rows` more of its plain panel at `y` (logical pixels), copied from
// the rows just above.
QImage grownBy(const QImage &picture, int y, int rows)
{
    const qreal ratio = picture.devicePixelRatio();
    const int at = qRound(y * ratio);
    const int extra = qRound(rows * ratio);
    if (picture.isNull() || at < extra || at > picture.height())
        return picture;
    QImage grown(picture.width(), picture.height() + extra, picture.format());
    grown.setDevicePixelRatio(ratio);
    const int bytes = int(qMin(grown.bytesPerLine(), picture.bytesPerLine()));
    for (int row = 0; row < grown.height(); ++row)
        std::memcpy(grown.scanLine(row), picture.constScanLine(row < at ? row : row - extra), size_t(bytes));
    return grown;
}

} // namespace

quint64 SettingsToolWindow::intervalSeconds(int index)
{
    return Intervals[index].seconds;
}

QSize SettingsToolWindow::parseResolution(const QString &text)
{
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[x\\s]")), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return QSize();
    bool widthOk = false;
    bool heightOk = false;
    const int width = parts[0].toInt(&widthOk, 10);
    const int height = parts[1].toInt(&heightOk, 10);
    return widthOk && heightOk ? QSize(width, height) : QSize();
}

int SettingsToolWindow::nearestResolution(const QVector<QSize> &items, const QSize &stored)
{
    int best = -1;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (int i = 0; i < items.size(); ++i) {
        const qint64 distance = std::llabs(qint64(stored.width()) - items[i].width())
            + std::llabs(qint64(stored.height()) - items[i].height());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

SettingsToolWindow::SettingsToolWindow(QWidget *anchor, ToolWindowHost *host)
    : ToolWindow(grownBy(SkinPicture::load(QStringLiteral(":/icons/Background/POP_BK_SETTING.png")),
                         LanguageRowY, RowHeight),
                 anchor, host->hostWidget(), tr("Setting"))
    , m_host(host)
{
    setStyleSheet(QStringLiteral("QLabel { font-family: Arial; font-size: ") + QStringLiteral("14")
                  + QStringLiteral("px; color: gray; }QLineEdit { font-family: Calibri; "
                                   "font-size: 10; width: 124px; } QComboBox { font-family: "
                                   "Calibri; font-size: 10; width: 124px; } "));
    int y = 24;

    addLabel(tr("Flicker"), y);
    m_flickerBox = new QComboBox(this);
    // The unit is written as each language writes it ("50 Гц").
    m_flickerBox->addItems({tr("50 Hz"), tr("60 Hz")});
    const quint64 flicker = Config::flicker();
    // 0 means the camera never reported its frequency; anything else out of range too shows
    // 50 Hz rather than an empty box.
    m_flickerBox->setCurrentIndex(flicker == 2 ? 1 : 0);
    m_flickerBox->move(ControlX, y);
    m_flickerBox->setFixedWidth(ControlWidth);
    y += RowHeight;

    addLabel(tr("Resolution"), y);
    m_resolutionBox = new QComboBox(this);
    QVector<QSize> resolutions = host->supportedResolutions();
    // The size the camera runs at, which may not be the one stored (a size it refused, or none
    // it could use): the popup shows what is in use.
    const QSize inUse = host->liveResolution();
    if (inUse.isValid() && !resolutions.isEmpty() && !resolutions.contains(inUse))
        resolutions.prepend(inUse);
    for (const QSize &size : resolutions)
        m_resolutionBox->addItem(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
    m_currentResolutionIndex = nearestResolution(resolutions, inUse.isValid() ? inUse : Config::resolution());
    m_resolutionBox->setCurrentIndex(m_currentResolutionIndex);
    m_resolutionBox->move(ControlX, y);
    m_resolutionBox->setFixedWidth(ControlWidth);
    connect(m_resolutionBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SettingsToolWindow::resolutionChanged);
    y += RowHeight;

    addLabel(tr("Capture"), y);
    m_captureModeBox = new QComboBox(this);
    m_captureModeBox->addItems({tr("Single"), tr("Continuous")});
    for (int i = 0; i < 2; ++i) {
        if (SnapshotModes[i] == Config::snapshotMode()) {
            m_captureModeBox->setCurrentIndex(i);
            break;
        }
    }
    m_captureModeBox->move(ControlX, y);
    m_captureModeBox->setFixedWidth(ControlWidth);
    y += RowHeight;

    addLabel(tr("Time"), y);
    m_intervalBox = new QComboBox(this);
    const QString units[] = {tr("sec"), tr("min"), tr("hr")};
    for (const Interval &interval : Intervals)
        m_intervalBox->addItem(QLatin1String(interval.prefix) + units[interval.unit]);
    const quint64 storedInterval = Config::snapshotInterval();
    for (int i = 0; i < IntervalCount; ++i) {
        if (Intervals[i].seconds == storedInterval) {
            m_intervalBox->setCurrentIndex(i);
            break;
        }
    }
    m_intervalBox->move(ControlX, y);
    m_intervalBox->setFixedWidth(ControlWidth);
    y += RowHeight;

    addLabel(tr("Save as"), y);
    m_snapshotFolderField = new ElidedPathField(Config::snapshotPath(), this);
    m_snapshotFolderField->move(ControlX, y);
    m_snapshotBrowse = popupButton(tr("Browse"), QPoint(160, y + 24));
    connect(m_snapshotBrowse, &ImageButton::clicked, this, &SettingsToolWindow::snapshotFileBrowse);
    y += FolderRowHeight;

    m_recordFolderField = new ElidedPathField(Config::recordPath(), this);
    m_recordFolderField->move(ControlX, y);
    m_recordBrowse = popupButton(tr("Browse"), QPoint(160, y + 24));
    connect(m_recordBrowse, &ImageButton::clicked, this, &SettingsToolWindow::recordFileBrowse);
    const QString language = Config::language();
    // The short word reads wrongly in these languages; they carry a longer text of their own.
    addLabel(language == QLatin1String("ja") || language == QLatin1String("ru") ? tr("RecordingSave")
                                                                                : tr("Recording"),
             y);
    y += FolderRowHeight;

    addLabel(tr("Language"), y);
    m_languageBox = new QComboBox(this);
    for (const QString &code : Config::interfaceLanguages())
        m_languageBox->addItem(languageName(code), code);
    m_languageBox->setCurrentIndex(qMax(0, Config::interfaceLanguages().indexOf(Config::language())));
    m_languageBox->move(ControlX, y);
    m_languageBox->setFixedWidth(ControlWidth);
    y += RowHeight;

    m_okButton = popupButton(tr("OK"), QPoint(80, y + 7));
    connect(m_okButton, &ImageButton::clicked, this, &SettingsToolWindow::settingsOk);
    m_cancelButton = popupButton(tr("Cancel"), QPoint(160, y + 7));
    connect(m_cancelButton, &ImageButton::clicked, this, &SettingsToolWindow::close);
}

ImageButton *SettingsToolWindow::popupButton(const QString &caption, const QPoint &position)
{
    auto *button = new ImageButton(QStringLiteral("POPUP_BUTTON"), this, position);
    button->setText(caption);
    button->setFont(QFont(QStringLiteral("Calibri"), 8));
    return button;
}

void SettingsToolWindow::addLabel(const QString &text, int y)
{
    (new QLabel(text, this))->move(LabelX, y);
}

void SettingsToolWindow::resolutionChanged(int index)
{
    if (index == m_currentResolutionIndex)
        return;
    const QSize size = parseResolution(m_resolutionBox->itemText(index));
    if (size.width() >= QuestionWidth) {
        const QMessageBox::StandardButton answer = UserPrompts::instance()->question(
            this, tr("Question"),
            tr("Using a recording resolution of %1x%2 may cause low framerate when the PC isn't "
               "powerful. Continue?")
                .arg(size.width())
                .arg(size.height()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::No) {
            m_resolutionBox->setCurrentIndex(m_currentResolutionIndex);
            return;
        }
    }
    m_currentResolutionIndex = index;
}

void SettingsToolWindow::snapshotFileBrowse()
{
    const QString path = UserPrompts::instance()->existingDirectory(nullptr, QString(), QString());
    if (!path.isEmpty())
        m_snapshotFolderField->setText(path);
}

void SettingsToolWindow::recordFileBrowse()
{
    const QString path = UserPrompts::instance()->existingDirectory(nullptr, QString(), QString());
    if (!path.isEmpty())
        m_recordFolderField->setText(path);
}

void SettingsToolWindow::settingsOk()
{
    Config::setSnapshotMode(SnapshotModes[qMax(0, m_captureModeBox->currentIndex())]);
    Config::setSnapshotInterval(Intervals[qMax(0, m_intervalBox->currentIndex())].seconds);
    Config::setSnapshotPath(m_snapshotFolderField->text());
    Config::setRecordPath(m_recordFolderField->text());
    const QSize chosen = parseResolution(m_resolutionBox->currentText());
    // No camera sizes at all leave the stored resolution as it is.
    if (chosen.isValid())
        Config::setResolution(chosen);
    const QSize stored = Config::resolution();
    m_host->setLiveResolution(stored.width(), stored.height());
    m_host->resetRecordingState();
    const int flicker = m_flickerBox->currentIndex() + 1;
    Config::setFlicker(quint64(flicker));
    m_host->applyFlicker(flicker);
    const QString language = m_languageBox->currentData().toString();
    const bool newLanguage = language != Config::language();
    if (newLanguage)
        Config::setLanguage(language);
    close();
    // The texts are made as the windows are: a new language needs a new start.
    if (newLanguage) {
        UserPrompts::instance()->information(
            m_host->hostWidget(), tr("Language"),
            tr("The program speaks %1 from its next start.").arg(m_languageBox->currentText()));
    }
}
