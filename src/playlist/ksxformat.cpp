#include "playlist/ksxformat.h"

#include <algorithm>

namespace {

constexpr std::size_t NameOffset = 0;
constexpr std::size_t LengthOffset = 256;
constexpr std::size_t KindOffset = 260;
constexpr std::size_t ValuesOffset = 264; // the ten words a blank leaves 0

// The words of a record after the kind, in file order.
constexpr std::array<int32_t KsxRecord::*, 8> MovieWords{
    &KsxRecord::MovSizeX, &KsxRecord::MovSizeY, &KsxRecord::ShowSizeX, &KsxRecord::ShowSizeY,
    &KsxRecord::ShowPosX, &KsxRecord::ShowPosY, &KsxRecord::MasterVol, &KsxRecord::WaveVol,
};

template <class Byte, std::size_t Extent>
std::span<Byte, 4> WordAt(std::span<Byte, Extent> bytes, std::size_t offset) {
    return std::span<Byte>(bytes).subspan(offset).template first<4>();
}

// getw: a word the file does not hold in full reads as -1.
int32_t ReadWord(const KsxSource& source) {
    std::array<unsigned char, 4> word{};
    return source(word) == word.size() ? GetWord(word) : -1;
}

} // namespace

void PutWord(std::span<unsigned char, 4> out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        out[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
}

int32_t GetWord(std::span<const unsigned char, 4> in) {
    uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(in[i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

void EncodeRecord(const KsxRecord& record, std::span<unsigned char, KsxRecordSize> out) {
    std::ranges::fill(out, 0);
    std::ranges::copy(record.Name, out.begin() + NameOffset);
    PutWord(WordAt(out, LengthOffset), record.LengthMs);
    PutWord(WordAt(out, KindOffset), record.ItemKind);
    if (record.ItemKind != 0) {
        return;
    }
    for (std::size_t i = 0; i < MovieWords.size(); ++i) {
        PutWord(WordAt(out, ValuesOffset + 4 * i), record.*MovieWords[i]);
    }
}

KsxRecord DecodeRecord(std::span<const unsigned char, KsxRecordSize> in) {
    KsxRecord record;
    std::copy_n(in.begin() + NameOffset, KsxNameSize, record.Name.begin());
    record.LengthMs = GetWord(WordAt(in, LengthOffset));
    record.ItemKind = GetWord(WordAt(in, KindOffset));
    for (std::size_t i = 0; i < MovieWords.size(); ++i) {
        record.*MovieWords[i] = GetWord(WordAt(in, ValuesOffset + 4 * i));
    }
    return record;
}

std::vector<unsigned char> EncodePlaylist(const std::vector<KsxRecord>& records) {
    std::vector<unsigned char> bytes(KsxHeaderSize + KsxRecordSize * records.size());
    const std::span<unsigned char> all(bytes);
    std::ranges::copy(KsxMagic, bytes.begin());
    PutWord(WordAt(all, 4), KsxVersion);
    PutWord(WordAt(all, 8), static_cast<int32_t>(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        EncodeRecord(records[i],
                     all.subspan(KsxHeaderSize + KsxRecordSize * i).first<KsxRecordSize>());
    }
    return bytes;
}

std::optional<ListError> DecodePlaylist(const KsxSource& source, const KsxSink& sink) {
    std::array<unsigned char, 4> magic{};
    if (source(magic) != magic.size() || magic != KsxMagic) {
        return ListNotAList;
    }
    if (ReadWord(source) > KsxVersion) {
        return ListOtherVersion;
    }
    const int32_t count = ReadWord(source);
    ReadWord(source); // reserved
    std::array<unsigned char, KsxRecordSize> record{};
    for (int32_t i = 0; i < count && source(record) == record.size(); ++i) {
        sink(DecodeRecord(record));
    }
    return std::nullopt;
}

std::optional<ListError> DecodePlaylist(std::span<const unsigned char> bytes, const KsxSink& sink) {
    return DecodePlaylist(
        [&bytes](std::span<unsigned char> out) {
            const std::size_t n = std::min(out.size(), bytes.size());
            std::copy_n(bytes.begin(), n, out.begin());
            bytes = bytes.subspan(n);
            return n;
        },
        sink);
}
