#pragma once

#include "toolwindows/ToolWindow.h"
#include "widgets/ElidedPathField.h"

#include <QSize>

class ImageButton;
class QComboBox;
class QLineEdit;
class ToolWindowHost;

// The settings popup: the camera's mains frequency (flicker), the capture resolution, the
// snapshot mode and interval, the snapshot and recording folders, and the interface language. It reads the
// stored settings when it is built; "OK" stores the choices and applies resolution and flicker to the live
// camera, "Cancel" and the close button leave everything as it was. A capture width of 1920 or more is asked
// about first, because the camera then delivers fewer frames.
//
// Threads: GUI thread only.
class SettingsToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int IntervalCount = 17;
    static constexpr int QuestionWidth = 1920;

    // Seconds of snapshot interval item `index`.
    static quint64 intervalSeconds(int index);
    // Width and height read back from a resolution item's text ("1920 x 1080"); an invalid size
    // when the text holds no two numbers.
    static QSize parseResolution(const QString &text);
    // Index of the item nearest to `stored` (sum of the width and height differences; the first
    // of equals wins); -1 for no items.
    static int nearestResolution(const QVector<QSize> &items, const QSize &stored);

    SettingsToolWindow(QWidget *anchor, ToolWindowHost *host);

    int currentResolutionIndex() const { return m_currentResolutionIndex; }
    QComboBox *captureModeBox() const { return m_captureModeBox; }
    QComboBox *intervalBox() const { return m_intervalBox; }
    QComboBox *flickerBox() const { return m_flickerBox; }
    ElidedPathField *snapshotFolderField() const { return m_snapshotFolderField; }
    ElidedPathField *recordFolderField() const { return m_recordFolderField; }
    QComboBox *resolutionBox() const { return m_resolutionBox; }
    // The interface language; a new one holds from the next start.
    QComboBox *languageBox() const { return m_languageBox; }
    ImageButton *snapshotBrowseButton() const { return m_snapshotBrowse; }
    ImageButton *recordBrowseButton() const { return m_recordBrowse; }
    ImageButton *okButton() const { return m_okButton; }
    ImageButton *cancelButton() const { return m_cancelButton; }

public slots:
    void resolutionChanged(int index);
    void snapshotFileBrowse();
    void recordFileBrowse();
    void settingsOk();

private:
    ImageButton *popupButton(const QString &caption, const QPoint &position);
    void addLabel(const QString &text, int y);

    int m_currentResolutionIndex = -1;
    ToolWindowHost *m_host = nullptr;
    QComboBox *m_captureModeBox = nullptr;
    QComboBox *m_intervalBox = nullptr;
    QComboBox *m_flickerBox = nullptr;
    ElidedPathField *m_snapshotFolderField = nullptr;
    ElidedPathField *m_recordFolderField = nullptr;
    QComboBox *m_resolutionBox = nullptr;
    QComboBox *m_languageBox = nullptr;
    ImageButton *m_snapshotBrowse = nullptr;
    ImageButton *m_recordBrowse = nullptr;
    ImageButton *m_okButton = nullptr;
    ImageButton *m_cancelButton = nullptr;
};
