// libFuzzer target for the playlist reader: any bytes go through what loading does (the header
// and record decoding, the name field's text, the row texts), and the rows found are saved and
// read back as a save and a load would.

#include "playlist/ksxformat.h"
#include "playlist/playlistitem.h"

#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What loading gives back, saving writes so that it loads the same again.
void CheckRecord(const KsxRecord& record) {
    const PlaylistItem row = ItemFromRecord(record);
    Require(row.subItems.size() == 14);
    const std::optional<KsxRecord> saved = RecordFromItem(row);
    if (!saved) {
        return;
    }
    const PlaylistItem reloaded = ItemFromRecord(*saved);
    if (IsMovie(row)) {
        Require(reloaded == row);
        return;
    }
    // A blank keeps its caption, time, kind and length; its other values are not saved.
    Require(reloaded.caption == row.caption);
    for (int i : {SubTime, SubItemKind, SubLengthMs}) {
        Require(reloaded.subItems[i] == row.subItems[i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::size_t records = 0;
    const std::optional<ListError> error =
        DecodePlaylist(std::span(data, size), [&records](const KsxRecord& record) {
            ++records;
            CheckRecord(record);
        });
    // A refused file gives no records, and a list only whole records that are there.
    Require(!error || records == 0);
    Require(records <= size / KsxRecordSize);
    return 0;
}
