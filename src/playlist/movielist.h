#pragma once

#include "ui_movielist.h"

#include "playlist/playlistitem.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <cstdint>

class QFileDialog;
class TMediaPlayer;

// The playlist window. The rows of the playlist live in its list view and nowhere else, for as
// long as the program runs: each row holds a caption and its sub-item texts, the first six shown
// in the columns after the caption, the rest kept with the row unseen. Play closes the window with
// the result OK (the caller then plays the list), Close with Cancel.
class TMovieList : public QDialog, public Ui::TMovieList {
    Q_OBJECT
public:
    explicit TMovieList(QWidget* parent = nullptr);
    ~TMovieList() override;

    // Probes added movies; never the player that plays them.
    TMediaPlayer* MediaPlayer = nullptr;
    QFileDialog* OpenDialog = nullptr;
    QFileDialog* SaveDialog = nullptr;
    QFileDialog* LoadDialog = nullptr;

    // Probes the movie file and inserts its row at the insertion point, with its placement and the
    // mixer's current volumes. A file that cannot be opened is reported and adds nothing.
    void AddMovie(const QString& path);
    void MovieAddClick();
    void BlankAddClick();
    void DeleteClick();
    void AllClearClick();
    void SetupClick();
    void SaveClick();
    void LoadClick();
    // Loads a playlist file named outside the window (command line, a drop on the main window),
    // asking first when the list is not empty.
    void OpenPlaylistFile(const QString& path);
    // Files dropped on the window, in the drop's order: each is added, whatever its type.
    void WMDropFiles(const QStringList& paths);

    // Replaces every row by these, in their order, and sets TotalTime to the sum of their lengths.
    void replaceRows(const QList<PlaylistItem>& rows);
    void loadFile(const QString& path);
    int rowCount() const;
    PlaylistItem row(int index) const;
    QList<PlaylistItem> rows() const;

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormShow();
    // The first selected row, or -1.
    int selectedIndex() const;
    // An empty row just above the selected one, or at the end when none is selected.
    QTreeWidgetItem* insertRow(bool* appended);
    // Scrolls an appended row into view.
    void scrollToEnd();
    void setRow(QTreeWidgetItem* item, const PlaylistItem& row);
    // Steps TotalTime by delta and shows it.
    void addToTotalTime(int64_t delta);
    void showTotalTime();
    int64_t sumOfLengths() const;
    void editMovie(int index, PlaylistItem item);
    void editBlank(int index, PlaylistItem item);
};

extern TMovieList* MovieList;
