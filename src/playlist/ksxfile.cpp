#include "playlist/ksxfile.h"

#include "playlist/replacefile.h"

#include <QFile>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

PlaylistReadResult ReadPlaylistFile(const QString& path) {
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file) {
        return {ListOpenFailed, {}};
    }
    PlaylistReadResult result;
    result.error = DecodePlaylist(
        [&file](std::span<unsigned char> out) {
            return std::fread(out.data(), 1, out.size(), file.get());
        },
        [&result](const KsxRecord& record) { result.rows.append(ItemFromRecord(record)); });
    // A read error is not the end of the list: nothing of the file is taken.
    if (std::ferror(file.get())) {
        result.error = ListOpenFailed;
    }
    file.reset();
    if (result.error) {
        result.rows.clear();
    }
    return result;
}

PlaylistWriteResult WritePlaylistFile(const QString& path, const QList<PlaylistItem>& rows) {
    std::vector<KsxRecord> records;
    records.reserve(static_cast<std::size_t>(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const std::optional<KsxRecord> record = RecordFromItem(rows[i]);
        if (!record) {
            return {PlaylistWriteResult::NameDoesNotFit, static_cast<int>(i)};
        }
        records.push_back(*record);
    }
    const std::vector<unsigned char> bytes = EncodePlaylist(records);
    if (!ReplaceFile(QFile::encodeName(path).toStdString(), bytes)) {
        return {PlaylistWriteResult::SaveFailed};
    }
    return {PlaylistWriteResult::Written};
}

QString NameDoesNotFitText(int row, const QString& caption) {
    return QStringLiteral(
               "%1行目のファイル名が長すぎるためリストをセーブできません(255バイトまで)\n%2")
        .arg(row + 1)
        .arg(caption);
}

bool HasPlaylistMagic(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(4) == QByteArray("KSX\x1a", 4);
}
