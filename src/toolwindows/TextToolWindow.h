#pragma once

#include "toolwindows/ToolWindow.h"

#include <QList>
#include <QPointer>
#include <QStringList>

class ImageButton;
class ImageCanvas;
class QComboBox;
class ToolWindowHost;

// The popup of the text tool: font face, font size (a list of the standard sizes that also
// takes a typed size) and text colour. Choices apply to the canvas in use at once; the popup
// stays open and shows the settings of the canvas in use after every mode switch.
//
// Threads: GUI thread only.
class TextToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int ColorCount = 4;
    static QColor colorAt(int index);

    TextToolWindow(QWidget *anchor, ToolWindowHost *host);

    // The font families text can be written in: the system's, without symbol fonts.
    static QStringList textFamilies();

    QComboBox *faceBox() const { return m_faceBox; }
    QComboBox *sizeBox() const { return m_sizeBox; }
    ImageButton *colorButton(int index) const { return m_colorButtons[index]; }

public slots:
    void modeChanged();
    void colorChanged();
    void fontFaceChanged();
    void fontSizeChanged();

private:
    // Where the box lists `family`, or the family the font system substitutes for it; -1 if
    // neither is listed.
    int familyIndex(const QString &family) const;

    QComboBox *m_faceBox = nullptr;
    QComboBox *m_sizeBox = nullptr;
    QStringList m_families;
    QList<int> m_sizes;
    ImageButton *m_colorButtons[ColorCount] = {};
    QPointer<ImageCanvas> m_canvas;
    ToolWindowHost *m_host = nullptr;
};
