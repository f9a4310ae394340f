#pragma once

#include "widgets/ImageWidget.h"

#include <QList>
#include <QStringList>

class HorizontalSlider;
class PhotographSource;
class QButtonGroup;
class ThumbnailButton;
class ThumbnailLoader;

// The strip of thumbnails over the lower part of the photograph canvas: one button per picture
// of the photograph source, as many as fit shown side by side and centred, scrolled by a
// picture slider. Clicking a thumbnail shows its picture; when the source shows a picture its
// thumbnail is checked and scrolled into view. Pictures are decoded by a ThumbnailLoader.
//
// Threads: GUI thread only. The loader thread writes the buttons only through queued calls;
// stopLoader() cancels and waits for its pass before any button is deleted.
class ThumbnailWidget : public ImageWidget
{
    Q_OBJECT
public:
    static constexpr int THUMBNAIL_STEP = 66; // thumbnail width plus spacing

    ThumbnailWidget(PhotographSource *source, HorizontalSlider *scrollBar, QWidget *parent);
    ~ThumbnailWidget() override;

    // Takes the source's pictures anew: new buttons, new layout, a new loader pass.
    void reload();
    // Cancels and waits for the loader, then deletes every button. Safe to call repeatedly.
    void stopLoader();

    int first() const { return m_first; }
    int visibleCount() const { return m_visible; }
    int left() const { return m_left; }
    const QList<ThumbnailButton *> &buttons() const { return m_buttons; }
    ThumbnailLoader *loader() const { return m_loader; }

public slots:
    void photographSelected();
    void photographChanged(int id);
    void viewChanged(int first);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOut();
    int fittingCount() const;

    PhotographSource *m_source;
    HorizontalSlider *m_scrollBar;
    int m_first = 0;
    int m_visible = 0;
    int m_left = 50;
    int m_margin = 40;
    int m_spacing = 10;
    int m_top = 5;
    QList<ThumbnailButton *> m_buttons;
    QButtonGroup *m_group = nullptr;
    QStringList m_paths; // shown, for counting and laying out
    ThumbnailLoader *m_loader = nullptr;
};
