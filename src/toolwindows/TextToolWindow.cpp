#include "toolwindows/TextToolWindow.h"

#include "canvas/ImageCanvas.h"
#include "common/SkinPicture.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>

namespace {

const char *const ColorNames[TextToolWindow::ColorCount] = {"BLACK", "RED", "YELLOW", "SKY"};
const QRgb Colors[TextToolWindow::ColorCount] = {0xFF000000, 0xFFFF0000, 0xFFFFFF00, 0xFF0000FF};

} // namespace

QColor TextToolWindow::colorAt(int index)
{
    return QColor::fromRgba(Colors[index]);
}

TextToolWindow::TextToolWindow(QWidget *anchor, ToolWindowHost *host)
    : ToolWindow(SkinPicture::load(QStringLiteral(":/icons/Background/POP_BK_COLOR_2LINE")), anchor,
                 host->hostWidget(), tr("Text"))
    , m_canvas(host->currentCanvas())
    , m_host(host)
{
    auto *colorLabel = new QLabel(tr("Color"), this);
    colorLabel->setStyleSheet(QStringLiteral("font-family: Arial; font-size: 15px; color: white;"));
    colorLabel->move(8, 45);

    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < ColorCount; ++i) {
        auto *button = new ImageButton(QStringLiteral("ICON_LINE_COLOR_%1").arg(QLatin1String(ColorNames[i])),
                                       this, QPoint(130 + i * 33, 43));
        button->setCheckable(true);
        connect(button, &ImageButton::clicked, this, &TextToolWindow::colorChanged);
        group->addButton(button);
        m_colorButtons[i] = button;
    }

    m_faceBox = new QComboBox(this);
    m_families = textFamilies();
    m_faceBox->addItems(m_families);
    m_faceBox->move(10, 20);
    m_faceBox->setFixedWidth(150);
    connect(m_faceBox, QOverload<int>::of(&QComboBox::activated), this, &TextToolWindow::fontFaceChanged);

    m_sizeBox = new QComboBox(this);
    m_sizeBox->setEditable(true);
    m_sizes = QFontDatabase::standardSizes();
    for (int size : qAsConst(m_sizes))
        m_sizeBox->addItem(QString::number(size));
    m_sizeBox->move(165, 20);
    m_sizeBox->setFixedWidth(70);
    connect(m_sizeBox, QOverload<int>::of(&QComboBox::activated), this, &TextToolWindow::fontSizeChanged);
    connect(m_sizeBox, &QComboBox::editTextChanged, this, &TextToolWindow::fontSizeChanged);

    host->connectModeChanged(this, [this] { modeChanged(); });
    modeChanged();
}

QStringList TextToolWindow::textFamilies()
{
    // Fonts of symbols (the artwork's icon font among them) write no text.
    const QFontDatabase fonts;
    QStringList families;
    for (const QString &family : fonts.families()) {
        const QList<QFontDatabase::WritingSystem> systems = fonts.writingSystems(family);
        if (!systems.isEmpty() && !systems.contains(QFontDatabase::Symbol) && !fonts.isPrivateFamily(family))
            families << family;
    }
    return families;
}

int TextToolWindow::familyIndex(const QString &family) const
{
    const int listed = m_families.indexOf(family);
    if (listed >= 0 || family.isEmpty())
        return listed;
    // A family the system does not have ("Arial" on most Linux systems) is written in the family
    // the font system puts in its place; that is the one the box shows.
    return m_families.indexOf(QFontInfo(QFont(family)).family());
}

void TextToolWindow::modeChanged()
{
    m_canvas = m_host->currentCanvas();
    if (!m_canvas)
        return;
    const QColor colour = m_canvas->textColor();
    for (int i = 0; i < ColorCount; ++i) {
        if (colour == colorAt(i)) {
            m_colorButtons[i]->setChecked(true);
            break;
        }
    }
    const int family = familyIndex(m_canvas->textFamily());
    if (family >= 0)
        m_faceBox->setCurrentIndex(family);
    const int size = m_sizes.indexOf(m_canvas->textSize());
    if (size >= 0)
        m_sizeBox->setCurrentIndex(size);
}

void TextToolWindow::colorChanged()
{
    if (!m_canvas)
        return;
    for (int i = 0; i < ColorCount; ++i) {
        if (m_colorButtons[i] == sender()) {
            m_canvas->setTextColor(colorAt(i));
            return;
        }
    }
}

void TextToolWindow::fontFaceChanged()
{
    if (m_canvas)
        m_canvas->setTextFamily(m_faceBox->currentText());
}

void TextToolWindow::fontSizeChanged()
{
    bool ok = false;
    const int size = m_sizeBox->currentText().toInt(&ok, 10);
    // While the user types, the box may hold nothing or no number yet; a size below one point
    // is no font size.
    if (ok && size > 0 && m_canvas)
        m_canvas->setTextSize(size);
}
