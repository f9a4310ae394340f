#pragma once

#include <QObject>

#include <functional>

class ImageCanvas;
class QAbstractButton;
class QWidget;

// The Take snapshot button's logic. In continuous mode ("snapshotMode" 1) the button is a toggle
// whose checked state shows a running series the canvas times; in single mode it is a plain
// button and each click writes one file. A change of mode takes effect at the next click.
//
// Threads: GUI thread only.
class SnapshotControl : public QObject
{
    Q_OBJECT
public:
    // `button` is the Take snapshot button; `dialogParent` parents the error box.
    SnapshotControl(QAbstractButton *button, QWidget *dialogParent, QObject *parent = nullptr);

    // One click of the Take snapshot button, acting on `canvas`. A missing snapshot folder
    // shows the error box and arms nothing. On the live canvas while the camera gives no
    // picture nothing is armed either (a snapshot would otherwise be taken whenever a camera
    // came): `explainNoPicture` says so on the canvas.
    void snapshot(ImageCanvas *canvas);

    // The live canvas and whether its camera gives pictures now.
    void setLiveCamera(ImageCanvas *liveCanvas, std::function<bool()> hasPicture,
                       std::function<void()> explainNoPicture);

private:
    QAbstractButton *m_button;
    QWidget *m_dialogParent;
    ImageCanvas *m_liveCanvas = nullptr;
    std::function<bool()> m_hasPicture;
    std::function<void()> m_explainNoPicture;
};
