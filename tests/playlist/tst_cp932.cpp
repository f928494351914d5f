#include "playlist/cp932.h"

#include <QtTest>

class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exactTextsOnly_data();
    void exactTextsOnly();
    void invalidBytesReadAsReplacement_data();
    void invalidBytesReadAsReplacement();
    void nameFieldText_data();
    void nameFieldText();
};

void TestCp932::exactTextsOnly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("cp932"); // empty: CP932 cannot hold the text exactly

    QTest::newRow("backslash and tilde") << "C:\\A~1\\" << QByteArray("C:\\A~1\\");
    QTest::newRow("blank") << "空白" << QByteArray::fromHex("8bf39492");
    QTest::newRow("NEC signs") << "①∑" << QByteArray::fromHex("87408794");
    QTest::newRow("IBM extension") << "ⅰ" << QByteArray::fromHex("fa40");
    QTest::newRow("half-width katakana") << "ｱﾝ" << QByteArray::fromHex("b1dd");
    QTest::newRow("fullwidth tilde and yen") << "～￥" << QByteArray::fromHex("8160818f");
    QTest::newRow("kanji beside ASCII") << "表\\" << QByteArray::fromHex("955c5c");
    // Characters iconv would store as the code of another character.
    QTest::newRow("yen sign") << "¥" << QByteArray();
    QTest::newRow("overline") << "‾" << QByteArray();
    QTest::newRow("wave dash") << "〜" << QByteArray();
    QTest::newRow("minus sign") << "−" << QByteArray();
    QTest::newRow("not sign") << "¬" << QByteArray();
    QTest::newRow("double vertical line") << "‖" << QByteArray();
    QTest::newRow("em dash") << "—" << QByteArray();
    // Characters it has no code for.
    QTest::newRow("accent") << "é" << QByteArray();
    QTest::newRow("hangul") << "한" << QByteArray();
    QTest::newRow("outside the BMP") << "😀" << QByteArray();
}

void TestCp932::exactTextsOnly() {
    QFETCH(QString, text);
    QFETCH(QByteArray, cp932);
    const QString mixed = "/x/" + text + "/名前.avi";
    const std::optional<QByteArray> converted = ToCp932(mixed);
    QCOMPARE(converted.has_value(), !cp932.isEmpty());
    if (converted) {
        QCOMPARE(converted->toHex(' '),
                 ("/x/" + cp932 + "/" + QByteArray::fromHex("96bc914f") + ".avi").toHex(' '));
        QCOMPARE(FromCp932(*converted), mixed);
    }
    // Whichever way a caption is stored, it reads back as itself.
    QCOMPARE(DecodeListName(EncodeListName(mixed)), mixed);
}

void TestCp932::invalidBytesReadAsReplacement_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("undefined single bytes") << QByteArray("a\x80\xA0\xFD\xFF"
                                                          "b")
                                            << "a\uFFFD\uFFFD\uFFFD\uFFFDb";
    QTest::newRow("lead byte at the end") << QByteArray("ab\x81") << "ab\uFFFD";
    QTest::newRow("lead byte before ASCII") << QByteArray("\x81 x") << "\uFFFD x";
    QTest::newRow("undefined pair") << QByteArray("\xEF\x40") << "\uFFFD@";
    QTest::newRow("user-defined area") << QByteArray("\xF0\x40") << "\uE000";
}

void TestCp932::invalidBytesReadAsReplacement() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(FromCp932(bytes), text);
}

void TestCp932::nameFieldText_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");

    QTest::newRow("text then zeros") << QByteArray("ab\0cd", 5) << "ab";
    QTest::newRow("no zero byte") << QByteArray(256, 'A') << QString(256, 'A');
    QTest::newRow("CP932") << QByteArray("\x8B\xF3\x94\x92\0\0", 6) << "空白";
    QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF\xC2\xA5\0", 6) << "¥";
    QTest::newRow("broken UTF-8") << QByteArray("\xEF\xBB\xBF"
                                                "a\xFF")
                                  << "a\uFFFD";
    QTest::newRow("empty") << QByteArray(256, '\0') << "";
}

void TestCp932::nameFieldText() {
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QCOMPARE(DecodeListName(field), text);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
