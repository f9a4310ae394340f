#pragma once

#include "widgets/FramelessWindow.h"

#include <QPointer>

class ImageButton;
class QEvent;
class QKeyEvent;
class QResizeEvent;

// The frame of every popup the main window opens beside one of its buttons: a borderless tool
// window with a background picture, a title at the top left and a close button at the top
// right. It stands beside its anchor button, inside the primary screen's available area, and
// goes back there whenever the parent window moves or changes size. Closing only hides it; the
// main window deletes it when another popup replaces it.
//
// Threads: GUI thread only.
class ToolWindow : public FramelessWindow
{
    Q_OBJECT
public:
    static constexpr int AnchorGap = 3; // pixels between the anchor and the popup
    static constexpr int CloseButtonInset = 18;
    static constexpr int CloseButtonY = 4;

    ToolWindow(const QImage &background, QWidget *anchor, QWidget *parent, const QString &title);
    ~ToolWindow() override;

    QWidget *anchor() const { return m_anchor; }
    ImageButton *closeButton() const { return m_closeButton; }

    // Puts the popup beside its anchor, kept inside the primary screen's available width and
    // height. Popups that choose their picture after construction run it again.
    void placeBesideAnchor();

    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    // Closes the popup when the focus went outside it. Deliberately left unconnected: a popup
    // stays open while the user works in the main window.
    void focusChanged(QWidget *old, QWidget *now);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Esc closes the popup, as its close button does.
    void keyPressEvent(QKeyEvent *event) override;
    // The row of the effect and mask popups: one checkable, exclusive picture button per icon
    // name, every 60 px from (4, 18); buttons[i] receives the button of icons[i].
    void addToolRow(const QStringList &icons, ImageButton **buttons);

private:
    QPointer<QWidget> m_anchor; // not owned; a main window button
    ImageButton *m_closeButton = nullptr;
};
