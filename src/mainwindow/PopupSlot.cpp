#include "mainwindow/PopupSlot.h"

#include <QAbstractButton>

PopupSlot::~PopupSlot()
{
    close();
}

void PopupSlot::open(QWidget *popup, QAbstractButton *anchor)
{
    close();
    m_popup = popup;
    m_anchor = anchor;
    if (popup)
        popup->show();
}

void PopupSlot::close()
{
    delete m_popup.data();
    m_popup.clear();
    m_anchor.clear();
}

void PopupSlot::keepOwn(const QAbstractButton *button)
{
    if (m_popup && m_anchor.data() != button)
        close();
}
