#include "app/maskededit.h"
#include "app/numbertext.h"
#include "support/typing.h"

#include <QtTest>
#include <stdexcept>

// The forms' masked number field, driven by key presses, and the reading of its text as a number.
class TestMaskedEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void typing_data();
    void typing();
    void shorterMask();
    void refusedMasks_data();
    void refusedMasks();
    void numberOr_data();
    void numberOr();

private:
    QWidget host_;
    TMaskEdit* before_ = nullptr;
    TMaskEdit* field_ = nullptr;
};

void TestMaskedEdit::initTestCase() {
    before_ = new TMaskEdit(&host_);
    field_ = new TMaskEdit(&host_);
    field_->move(0, 30);
    before_->setEditMask(QStringLiteral("####;0; "));
    field_->setEditMask(QStringLiteral("####;0; "));
    host_.show();
    QApplication::setActiveWindow(&host_);
    QVERIFY(QTest::qWaitForWindowActive(&host_));
}

void TestMaskedEdit::typing_data() {
    QTest::addColumn<QString>("filled"); // set by the program, as a dialog fills its fields
    QTest::addColumn<QString>("entry");  // "tab", "backtab" or "cursor N" (placed by a click)
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("given"); // what the field gives back

    QTest::newRow("a typed 0 stays") << ""
                                     << "tab"
                                     << "100"
                                     << "100";
    QTest::newRow("typed blank between digits stays") << ""
                                                      << "tab"
                                                      << "6 4"
                                                      << "6 4";
    QTest::newRow("position skipped with the arrow") << ""
                                                     << "tab"
                                                     << "6[Right]4"
                                                     << "6 4";
    QTest::newRow("trailing blanks removed") << ""
                                             << "tab"
                                             << "12"
                                             << "12";
    QTest::newRow("leading blanks kept") << ""
                                         << "tab"
                                         << "  64"
                                         << "  64";
    QTest::newRow("signs are accepted") << ""
                                        << "tab"
                                        << "-12"
                                        << "-12";
    QTest::newRow("letters are refused") << ""
                                         << "tab"
                                         << "a1b2"
                                         << "12";
    QTest::newRow("at most four positions") << ""
                                            << "tab"
                                            << "12345"
                                            << "1234";
    QTest::newRow("tab selects all, typing replaces") << "640"
                                                      << "tab"
                                                      << "5"
                                                      << "5";
    QTest::newRow("backtab selects all too") << "640"
                                             << "backtab"
                                             << "5"
                                             << "5";
    QTest::newRow("delete after tab empties") << "640"
                                              << "tab"
                                              << "[Del]"
                                              << "";
    QTest::newRow("typing overwrites in place") << "640"
                                                << "cursor 1"
                                                << "5"
                                                << "650";
    QTest::newRow("backspace leaves a blank") << "640"
                                              << "cursor 2"
                                              << "[BS]"
                                              << "6 0";
    QTest::newRow("untouched value") << "640"
                                     << "cursor 0"
                                     << ""
                                     << "640";
    QTest::newRow("negative value") << "-640"
                                    << "cursor 0"
                                    << ""
                                    << "-640";
    QTest::newRow("filled value longer than the mask") << "12345"
                                                       << "cursor 0"
                                                       << ""
                                                       << "1234";
}

void TestMaskedEdit::typing() {
    QFETCH(QString, filled);
    QFETCH(QString, entry);
    QFETCH(QString, keys);
    QFETCH(QString, given);

    before_->setFocus();
    field_->setText(filled);
    if (entry == QLatin1String("tab")) {
        QTest::keyClick(before_, Qt::Key_Tab);
    } else if (entry == QLatin1String("backtab")) {
        // The field is last in the chain: backtab from the first widget wraps round to it.
        QTest::keyClick(before_, Qt::Key_Backtab);
    } else {
        field_->setFocus(Qt::MouseFocusReason);
        field_->setCursorPosition(entry.section(u' ', 1).toInt());
    }
    QCOMPARE(QApplication::focusWidget(), field_);
    TypeKeys(field_, keys);
    QCOMPARE(field_->fieldText(), given);
}

void TestMaskedEdit::shorterMask() {
    TMaskEdit volume(&host_);
    volume.setEditMask(QStringLiteral("###;0; "));
    volume.show();
    TabInAndType(&volume, QStringLiteral("1000"));
    QCOMPARE(volume.fieldText(), QStringLiteral("100"));
    QCOMPARE(volume.EditMask(), QStringLiteral("###;0; "));
}

void TestMaskedEdit::refusedMasks_data() {
    QTest::addColumn<QString>("mask");
    QTest::newRow("empty") << "";
    QTest::newRow("no sections") << "####";
    QTest::newRow("other blank") << "####;0;_";
    QTest::newRow("required digits") << "0000;0; ";
    QTest::newRow("literal") << "##/##;0; ";
    QTest::newRow("bad literal flag") << "####;2; ";
    QTest::newRow("extra section") << "####;0; ;x";
}

void TestMaskedEdit::refusedMasks() {
    QFETCH(QString, mask);
    TMaskEdit edit;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, edit.setEditMask(mask));
}

void TestMaskedEdit::numberOr_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    const int d = 777;
    QTest::newRow("empty") << "" << d;
    QTest::newRow("blanks only") << "   " << d;
    QTest::newRow("plain") << "640" << 640;
    QTest::newRow("leading zeros") << "0042" << 42;
    QTest::newRow("leading blanks skipped") << "  64" << 64;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("minus sign") << "-60" << -60;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("blank between digits") << "6 4" << d;
    QTest::newRow("blank after the sign") << "- 6" << d;
    QTest::newRow("trailing blank") << "12 " << d;
    QTest::newRow("sign alone") << "-" << d;
    QTest::newRow("second sign") << "+-1" << d;
    QTest::newRow("sign after digits") << "5-" << d;
    QTest::newRow("letter") << "1a" << d;
    QTest::newRow("hexadecimal") << "$1F" << d;
    QTest::newRow("tab is not a blank") << "\t5" << d;
    QTest::newRow("full-width digit") << QString(QChar(0xFF15)) << d;
    QTest::newRow("largest 32-bit") << "2147483647" << 2147483647;
    QTest::newRow("smallest 32-bit") << "-2147483648" << int(INT32_MIN);
    QTest::newRow("just above 32 bits") << "2147483648" << d;
    QTest::newRow("just below 32 bits") << "-2147483649" << d;
    QTest::newRow("far beyond 64 bits") << "123456789012345678901234567890" << d;
}

void TestMaskedEdit::numberOr() {
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(NumberOr(text, 777), number);
}

QTEST_MAIN(TestMaskedEdit)
#include "tst_maskededit.moc"
