#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Windows code page 932, the 8-bit character set of lists written on the system's original
// platform, through glibc's iconv "CP932" (its SHIFT_JIS reads 0x5C as a yen sign and 0x7E as an
// overline and lacks the NEC signs such as ①).

// The text in CP932, or nothing when CP932 cannot hold it exactly: some characters have no code
// (é, 한) and some share one with another character (¥ and \ both become 0x5C, 〜 and ～ 0x8160),
// so only a conversion that reads back as the same text counts.
std::optional<QByteArray> ToCp932(const QString& text);
// Every byte that is not valid CP932 reads as U+FFFD.
QString FromCp932(QByteArrayView bytes);

// The text of a list's name field. A caption that CP932 holds exactly is stored in CP932, as the
// original platform stores it. Any other caption (on Linux a path is UTF-8 and may hold any
// character) is stored as the UTF-8 byte order mark followed by UTF-8: CP932 has no character
// with the lead byte 0xEF, so no CP932 name can begin that way, and every caption survives a save
// and a load.
QByteArray EncodeListName(const QString& caption);
// The field's bytes up to its first 0 byte, or all of them when it has none.
QString DecodeListName(QByteArrayView field);
