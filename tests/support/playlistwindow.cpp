#include "playlistwindow.h"

#include "app/formatduration.h"
#include "modal.h"
#include "playlist/movielist.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

PlaylistItem MovieRow(const QString& caption, int lengthMs) {
    return NewMovieItem(caption, lengthMs, QSize(160, 120), QSize(320, 240), QPoint(0, 0), 75, 50);
}

PlaylistItem BlankRow(int lengthMs) {
    PlaylistItem blank = NewBlankItem();
    blank.subItems[SubLengthMs] = QString::number(lengthMs);
    blank.subItems[SubTime] = FormatDuration(lengthMs);
    return blank;
}

QStringList CaptionsOf(const TMovieList& list) {
    QStringList captions;
    for (const PlaylistItem& row : list.rows())
        captions << row.caption;
    return captions;
}

void ChooseFileInNextDialog(const QString& path) {
    OnNextModal([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* name =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name) {
            qWarning("no file dialog with a name box");
            modal->close();
            return;
        }
        name->setText(path);
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
    });
}
