#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

// The one place a popup tool window can be open: at most one popup exists at a time, and it
// belongs to the tool button it was opened for (its anchor). A popup that closes itself is
// deleted elsewhere; the guarded pointers then read as empty.
//
// Threads: GUI thread only.
class PopupSlot
{
public:
    PopupSlot() = default;
    ~PopupSlot();
    PopupSlot(const PopupSlot &) = delete;
    PopupSlot &operator=(const PopupSlot &) = delete;

    // Deletes the open popup, then makes `popup` the open one and shows it.
    void open(QWidget *popup, QAbstractButton *anchor);
    // Deletes the open popup, if any.
    void close();
    // Deletes the open popup unless it belongs to `button`.
    void keepOwn(const QAbstractButton *button);

    QWidget *popup() const { return m_popup.data(); }
    QAbstractButton *anchor() const { return m_popup ? m_anchor.data() : nullptr; }

private:
    QPointer<QWidget> m_popup;
    QPointer<QAbstractButton> m_anchor;
};
