#pragma once

#include "toolwindows/ToolWindow.h"

#include <QColor>
#include <QColorDialog>
#include <QPointer>

class ImageButton;
class ImageCanvas;
class ToolWindowHost;

// The line width, line colour and fill colour popup of the drawing tools. It has a width row
// and, when their labels are given, a line colour row and a fill colour row (the fill row only
// together with the line colour row). A click writes the choice into the canvas in use at once;
// the popup stays open and, after every mode switch, checks what the new canvas holds.
//
// Threads: GUI thread only.

class ColorToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int WidthCount = 4;
    static constexpr int ColorCount = 6;            // the table's colours
    static constexpr int Custom = ColorCount;       // index of a row's own-colour button
    static constexpr int FillNone = ColorCount + 1; // index of the fill row's NONE button

    static int lineWidthAt(int index);
    static QColor colorAt(int index);

    ColorToolWindow(QWidget *anchor, ToolWindowHost *host, const QString &title, const QString &widthLabel,
                    const QString &lineColorLabel, const QString &fillColorLabel);

    bool hasLineColorRow() const { return m_hasLineColorRow; }
    bool hasFillRow() const { return m_hasFillRow; }
    ImageButton *widthButton(int index) const { return m_widthButtons[index]; }
    ImageButton *lineColorButton(int index) const { return m_lineColorButtons[index]; }
    ImageButton *fillButton(int index) const { return m_fillButtons[index]; }
    // The freehand pen's popup offers the highlighter at the end of the width row.
    void offerHighlighter();
    ImageButton *highlighterButton() const { return m_highlighter; }
    // The colour dialog an own-colour button opened; null while none is open.
    QColorDialog *colorDialog() const { return m_dialog; }

public slots:
    void modeChanged();
    void lineWidthChanged();
    void colorChanged();
    void fillColorChanged();

private:
    // Opens the colour dialog on `current`; the colour chosen goes to the line or the fill.
    void chooseOwnColour(const QColor &current, bool fill);

    bool m_hasLineColorRow = false;
    bool m_hasFillRow = false;
    ImageButton *m_widthButtons[WidthCount] = {};
    ImageButton *m_lineColorButtons[ColorCount + 1] = {};
    ImageButton *m_fillButtons[ColorCount + 2] = {};
    QPointer<QColorDialog> m_dialog;
    ImageButton *m_highlighter = nullptr;
    QPointer<ImageCanvas> m_canvas;
    ToolWindowHost *m_host = nullptr;
};
