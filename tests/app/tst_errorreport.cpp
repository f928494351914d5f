#include "app/errorreport.h"
#include "app/errorwindow.h"
#include "app/settingsstore.h"
#include "support/modal.h"
#include "support/testenv.h"

#include <QtTest>

namespace {

struct Shown {
    bool shown = false;
    QString first;
    QString second;
};

// Reports the code, answering its dialog (if one comes) with the box ticked or not.
Shown report(ErrorCode code, bool tick) {
    Shown seen;
    OnNextModal([&seen, tick](QWidget* modal) {
        auto* dialog = qobject_cast<TErrorWindow*>(modal);
        QVERIFY(dialog);
        seen.shown = true;
        seen.first = dialog->Error1->text();
        seen.second = dialog->Error2->text();
        dialog->NoPrintError->setChecked(tick);
        dialog->Button1->click();
    });
    ReportError(code);
    if (!seen.shown)
        ClearModalActions();
    return seen;
}

} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ClearModalActions(); }
    void catalogueTexts_data();
    void catalogueTexts();
    void tickedCodeIsSuppressedAloneAndAfterRestart_data();
    void tickedCodeIsSuppressedAloneAndAfterRestart();
    void untickedCodeComesAgain();
    void boxIsReadHoweverTheDialogCloses();
    void unexpectedCodeIsNeverSuppressed();
    void fullMaskSuppressesEveryCode();
    void dialogLayout();
};

void TestErrorReport::catalogueTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("0") << 0 << "WAVEOUTデバイスがPEAK取得に対応していません"
                       << "LevelMeterとAnalize機能が使用できません";
    QTest::newRow("1") << 1 << "DirectDrawの初期化に失敗しました"
                       << "DirectDrawの使用ができません";
    QTest::newRow("2") << 2 << "非対応の画面モードです"
                       << "DirectDrawでこの画面サイズは使用できません";
    QTest::newRow("3") << 3 << "ミキサの初期化に失敗しました"
                       << "LevelMeterの全機能が使用できません";
    QTest::newRow("4") << 4 << "ムービーがWindowサイズ以上です"
                       << "Windowサイズに入る部分だけ表示します";
    QTest::newRow("9") << 9 << "予期せぬエラーです(Err:9)"
                       << "作者に連絡してください";
    QTest::newRow("-1") << -1 << "予期せぬエラーです(Err:-1)"
                        << "作者に連絡してください";
}

void TestErrorReport::catalogueTexts() {
    QFETCH(int, code);
    QFETCH(QString, first);
    QFETCH(QString, second);
    TestEnvironment env;
    const Shown seen = report(code, false);
    QVERIFY(seen.shown);
    QCOMPARE(seen.first, first);
    QCOMPARE(seen.second, second);
}

void TestErrorReport::tickedCodeIsSuppressedAloneAndAfterRestart_data() {
    QTest::addColumn<int>("code");
    for (int code = 0; code <= 4; ++code)
        QTest::addRow("%d", code) << code;
}

void TestErrorReport::tickedCodeIsSuppressedAloneAndAfterRestart() {
    QFETCH(int, code);
    TestEnvironment env;
    LoadSettings();
    QVERIFY(report(code, true).shown);
    QCOMPARE(PlayerSettings.ErrorFlag, 1u << code);
    QVERIFY(!report(code, false).shown);
    const int other = (code + 1) % 5;
    QVERIFY(report(other, false).shown);

    // A new run reads the mask back from the settings.
    ResetProcessState();
    LoadSettings();
    QCOMPARE(PlayerSettings.ErrorFlag, 1u << code);
    QVERIFY(!report(code, false).shown);
}

void TestErrorReport::untickedCodeComesAgain() {
    TestEnvironment env;
    LoadSettings();
    QVERIFY(report(4, false).shown);
    QVERIFY(report(4, false).shown);
    QCOMPARE(PlayerSettings.ErrorFlag, 0u);
}

void TestErrorReport::boxIsReadHoweverTheDialogCloses() {
    TestEnvironment env;
    LoadSettings();
    OnNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<TErrorWindow*>(modal);
        dialog->NoPrintError->setChecked(true);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    ReportError(2);
    QCOMPARE(PlayerSettings.ErrorFlag, 4u);
}

void TestErrorReport::unexpectedCodeIsNeverSuppressed() {
    TestEnvironment env;
    LoadSettings();
    const QByteArray before = env.readSettings();
    QVERIFY(report(9, true).shown);
    QCOMPARE(PlayerSettings.ErrorFlag, 0u);
    QCOMPARE(env.readSettings(), before);
    QVERIFY(report(9, false).shown);
}

void TestErrorReport::fullMaskSuppressesEveryCode() {
    TestEnvironment env;
    PlayerSettings.ErrorFlag = 31;
    for (int code = 0; code <= 4; ++code)
        QVERIFY(!report(code, false).shown);
    QVERIFY(report(5, false).shown);
}

void TestErrorReport::dialogLayout() {
    TErrorWindow dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Error"));
    QCOMPARE(dialog.size(), QSize(392, 86));
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(dialog.Error1->pos(), QPoint(8, 8));
    QCOMPARE(dialog.Error2->pos(), QPoint(24, 32));
    QVERIFY(dialog.Error1->font().bold());
    QVERIFY(!dialog.Error2->font().bold());
    QCOMPARE(dialog.Error1->font().pixelSize(), 15);
    QCOMPARE(dialog.NoPrintError->text(), QStringLiteral("以後このエラーを表示しない"));
    QVERIFY(!dialog.NoPrintError->isChecked());
    QCOMPARE(dialog.Button1->geometry(), QRect(312, 56, 75, 25));
    QVERIFY(!dialog.Button1->isDefault());
    QVERIFY(!dialog.Button1->autoDefault());
    QCOMPARE(dialog.NoPrintError->nextInFocusChain(), dialog.Button1);
}

QTEST_MAIN(TestErrorReport)
#include "tst_errorreport.moc"
