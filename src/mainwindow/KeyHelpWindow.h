#pragma once

#include "widgets/FramelessWindow.h"

class ImageButton;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPaintEvent;
class QResizeEvent;
class QScrollArea;

// The list of keys (F1): every command of the action table with its keys, under the headings of
// the table's sections, in the interface language. A borderless tool window over the main window
// in the skin's colours, dragged by its title band; Esc, F1 or its close button close it.
//
// Threads: GUI thread only.
class KeyHelpWindow : public FramelessWindow
{
    Q_OBJECT
public:
    static constexpr int TitleBand = 25;

    explicit KeyHelpWindow(QWidget *parent);

    // Centres the window over its parent and shows it.
    void showOverParent();
    // The list as rich text, one column of sections each (for tests and screenshots).
    QLabel *leftColumn() const { return m_left; }
    QLabel *rightColumn() const { return m_right; }
    ImageButton *closeButton() const { return m_close; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_title;
    ImageButton *m_close;
    QScrollArea *m_scroll;
    QLabel *m_left;
    QLabel *m_right;
};
