// The display-mode switch where it cannot switch: X servers (Xvfb) without the mode, without the
// colour depth or without XRandR. Each row starts its own server and shows the stage from a
// program of its own (this binary as the stage program), so every row has a display of its own.

#include "support/stageprogram.h"
#include "support/testenv.h"
#include "support/xserver.h"

#include <QApplication>
#include <QJsonArray>
#include <QtTest>

#include <map>

namespace {

const QString Code1 =
    QStringLiteral("Error|DirectDrawの初期化に失敗しました|DirectDrawの使用ができません");
const QString Code2 =
    QStringLiteral("Error|非対応の画面モードです|DirectDrawでこの画面サイズは使用できません");
const QString No32 =
    QStringLiteral("Kestrune|32bits colorで再生できません\n24bits colorで再生します");

QStringList screen(const char* geometry) {
    return {QStringLiteral("-screen"), QStringLiteral("0"), QString::fromLatin1(geometry)};
}

} // namespace

class TestDisplayModeXvfb : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanupTestCase();
    void failuresAreReportedUnlessSuppressed_data();
    void failuresAreReportedUnlessSuppressed();

private:
    // Rows with the same server arguments share one server: nothing here may change it.
    TestXServer* server(const QStringList& arguments);

    std::map<QString, std::unique_ptr<TestXServer>> servers_;
};

TestXServer* TestDisplayModeXvfb::server(const QStringList& arguments) {
    std::unique_ptr<TestXServer>& server = servers_[arguments.join(QLatin1Char(' '))];
    if (!server) {
        QString failure;
        server = TestXServer::startXvfb(arguments, &failure);
        if (!server)
            qWarning("%s", qPrintable(failure));
    }
    return server.get();
}

void TestDisplayModeXvfb::cleanupTestCase() {
    servers_.clear();
}

void TestDisplayModeXvfb::failuresAreReportedUnlessSuppressed_data() {
    QTest::addColumn<QStringList>("server");
    QTest::addColumn<QSize>("stage");
    QTest::addColumn<bool>("play32");
    QTest::addColumn<uint>("errorFlag");
    // The boxes shown, each as its caption and texts joined by '|'.
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("changed");

    const QStringList noVga = screen("1024x768x24");
    const QSize vga(640, 480);
    QTest::newRow("no 640 x 480 mode")
        << noVga << vga << false << 0u << QStringList{Code2} << false;
    QTest::newRow("no 640 x 480 mode, 32-bit colour first")
        << noVga << vga << true << 0u << QStringList{No32, Code2} << false;
    QTest::newRow("no 320 x 240 mode")
        << noVga << QSize(320, 240) << false << 0u << QStringList{Code2} << false;
    QTest::newRow("code 2 suppressed, 32-bit colour first")
        << noVga << vga << true << 4u << QStringList{No32} << false;
    QTest::newRow("only code 1 suppressed")
        << noVga << vga << false << 2u << QStringList{Code2} << false;

    const QStringList noRandr =
        noVga + QStringList{QStringLiteral("-extension"), QStringLiteral("RANDR")};
    QTest::newRow("no XRandR") << noRandr << vga << true << 0u << QStringList{Code1} << false;
    QTest::newRow("no XRandR, code 1 suppressed")
        << noRandr << vga << true << 2u << QStringList{} << false;

    QTest::newRow("the mode in 16-bit colour only")
        << screen("640x480x16") << vga << true << 0u << QStringList{No32, Code2} << false;
    QTest::newRow("the mode in 32-bit pixels, 24 asked first")
        << screen("640x480x24") << vga << false << 0u << QStringList{} << true;
}

void TestDisplayModeXvfb::failuresAreReportedUnlessSuppressed() {
    QFETCH(QStringList, server);
    QFETCH(QSize, stage);
    QFETCH(bool, play32);
    QFETCH(uint, errorFlag);
    QFETCH(QStringList, boxes);
    QFETCH(bool, changed);

    TestXServer* x = this->server(server);
    QVERIFY(x);
    const ReportedDisplay before = ReportDisplay(x->display());

    TestEnvironment env;
    env.writeSettings(QStringLiteral("[General]\nWinSizeX=%1\nWinSizeY=%2\nDirectDrawUse=1\n"
                                     "Play32=%3\nErrorFlag=%4\n")
                          .arg(stage.width())
                          .arg(stage.height())
                          .arg(play32 ? 1 : 0)
                          .arg(errorFlag)
                          .toUtf8());
    StageProgram program;
    QString failure;
    QVERIFY2(program.start(x->display(), env.configHome(), &failure), qPrintable(failure));
    const QJsonObject shown = program.firstReport();

    QStringList seen;
    QStringList texts;
    for (const QJsonValue& text : shown.value(QStringLiteral("modal")).toArray())
        texts << text.toString();
    // The texts of all boxes come one after another, each box starting with its caption.
    for (const QString& text : texts) {
        if (text == QStringLiteral("Error") || text == QStringLiteral("Kestrune"))
            seen << text;
        else if (!seen.isEmpty())
            seen.last() += QLatin1Char('|') + text;
    }
    QCOMPARE(seen, boxes);
    QCOMPARE(shown.value(QStringLiteral("changed")).toBool(), changed);
    QCOMPARE(ReportDisplay(x->display()), before);

    program.send("hide");
    QCOMPARE(program.nextReport().value(QStringLiteral("changed")).toBool(), false);
    program.send("quit");
    QVERIFY(program.waitForEnd());
    QCOMPARE(ReportDisplay(x->display()), before);
}

KESTRUNE_STAGE_TEST_MAIN(TestDisplayModeXvfb)
#include "tst_displaymode_xvfb.moc"
