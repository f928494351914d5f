#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The playlist file: a 16-byte header (the magic "KSX" 0x1A, the version, the item count and a
// reserved word) and one 304-byte record per row, nothing after the last. Every integer is a
// signed 32-bit two's-complement value, least significant byte first. Plain C++ without Qt, so
// the decoder can be fuzzed on its own.

inline constexpr std::size_t KsxHeaderSize = 16;
inline constexpr std::size_t KsxRecordSize = 304;
inline constexpr std::size_t KsxNameSize = 256;
inline constexpr int32_t KsxVersion = 256;
inline constexpr std::array<unsigned char, 4> KsxMagic{'K', 'S', 'X', 0x1A};

// The codes of the playlist's error box that reading and writing a list raise.
enum ListError : int {
    ListOpenFailed = 0,
    ListNotAList = 1,
    ListOtherVersion = 2,
    ListSaveFailed = 3,
};

// One record. Name is the raw name field: the caption's bytes, then 0 bytes to the end.
struct KsxRecord {
    std::array<unsigned char, KsxNameSize> Name{};
    int32_t LengthMs = 0;
    int32_t ItemKind = 0;
    int32_t MovSizeX = 0;
    int32_t MovSizeY = 0;
    int32_t ShowSizeX = 0;
    int32_t ShowSizeY = 0;
    int32_t ShowPosX = 0;
    int32_t ShowPosY = 0;
    int32_t MasterVol = 0;
    int32_t WaveVol = 0;

    bool operator==(const KsxRecord&) const = default;
};

void PutWord(std::span<unsigned char, 4> out, int32_t value);
int32_t GetWord(std::span<const unsigned char, 4> in);

// A blank (any ItemKind but 0) is written with its ten words from offset 264 on all 0, whatever
// the record holds; the two reserved words are always 0.
void EncodeRecord(const KsxRecord& record, std::span<unsigned char, KsxRecordSize> out);
KsxRecord DecodeRecord(std::span<const unsigned char, KsxRecordSize> in);
// The whole file: the header with version 256 and the records' count, then the records.
std::vector<unsigned char> EncodePlaylist(const std::vector<KsxRecord>& records);

// Gives up to out.size() further bytes of the file and returns how many it gave; fewer means
// the file ended.
using KsxSource = std::function<std::size_t(std::span<unsigned char> out)>;

// Takes each record as it is read.
using KsxSink = std::function<void(const KsxRecord& record)>;

// Reads a list the way loading does; gives ListNotAList or ListOtherVersion for a refused file.
// Fewer than four bytes, or four that are not the magic: not a list. A version above 256
// (signed) is refused. A header word cut off by the end of the file reads as -1, so a file of
// only the magic is an empty list. Then as many whole records as the count asks for and the file
// holds: a record cut off by the end is dropped, and nothing is allocated or repeated by a count
// the data cannot back.
std::optional<ListError> DecodePlaylist(const KsxSource& source, const KsxSink& sink);
std::optional<ListError> DecodePlaylist(std::span<const unsigned char> bytes, const KsxSink& sink);
