#pragma once

class ImageCanvas;
class ModePages;
class QString;
class QWidget;

// What the user made and set up that outlives a run: the Drawing Board's sheet (its drawings
// and page colour), every canvas's pen (line colour and width, fill), and the main window's size,
// place and maximised state. The sheet is a PNG file in the program's data folder, written
// whole under a temporary name and renamed, so it is complete or absent; the rest sits in the
// settings store.
//
// Threads: GUI thread only.
class KeptWork
{
public:
    // The sheet's file.
    static QString sheetFile();

    // Writes the board's sheet (removes the file when nothing is drawn). False, with `error`,
    // when the file cannot be written; the previous one then stays as it was.
    static bool storeSheet(const ImageCanvas &board, QString *error);
    // Puts the kept sheet on the board, scaled to its page; false when there is none or it
    // cannot be read (a damaged file is left aside, never half drawn).
    static bool restoreSheet(ImageCanvas &board);

    // The board's sheet and every canvas's pen of `pages`; a sheet that cannot be written is
    // logged (the window is closing).
    static void storeWork(const ModePages &pages);
    static void restoreWork(const ModePages &pages);

    // The pen of the canvas of `mode`.
    static void storePen(const ImageCanvas &canvas, int mode);
    static void restorePen(ImageCanvas &canvas, int mode);

    static void storePlacement(const QWidget &window);
    // The last run's size, place and maximised state; false (the window as it is) when none was
    // kept.
    static bool restorePlacement(QWidget &window);
};
