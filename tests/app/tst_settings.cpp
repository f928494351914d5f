#include "app/settingsstore.h"
#include "platform/settingskey.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

namespace {

const QByteArray allFourteen = "[General]\nWinShowX=0\nWinShowY=0\nWinSizeX=640\nWinSizeY=480\n"
                               "MovieShowX=0\nMovieShowY=0\nMovieSizeX=640\nMovieSizeY=480\n"
                               "MovieAuto=1\nKeyWait=0\nAfterKey=0\nDirectDrawUse=1\nErrorFlag=0\n"
                               "Play32=0\n";

QString storedValue(const TestEnvironment& env, const char* name) {
    QSettings file(env.settingsFile(), QSettings::IniFormat);
    return file.value(QLatin1String(name)).toString();
}

// Runs the operation and returns the failure's text, or an empty string when it succeeded.
template <typename F> QString failureOf(F operation) {
    try {
        operation();
    } catch (const SettingsKeyError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRunWritesEveryDefault();
    void partialFileIsCompletedWithoutTouchingStoredValues();
    void storedNumbersLoadAsStored_data();
    void storedNumbersLoadAsStored();
    void booleanStoredAsTwoIsTrueAndStoredBackAsOne();
    void badValueStopsTheLoadAndLeavesTheFile_data();
    void badValueStopsTheLoadAndLeavesTheFile();
    void unusableFileIsReportedAndNeverReplaced_data();
    void unusableFileIsReportedAndNeverReplaced();
    void folderThatCannotBeCreatedFailsTheFirstWrite();
    void optionSaveWritesPlacementAndSwitchesButNotTheMask();
    void meterValuesLoadOnlyFromAnExistingKey();
    void meterValuesAreStored();
};

void TestSettings::firstRunWritesEveryDefault() {
    TestEnvironment env;
    PlayerSettings.WinSizeX = 1; // proves the load really sets every field
    LoadSettings();
    const TPlayerSettings defaults;
    QCOMPARE(PlayerSettings.WinSizeX, 640);
    QCOMPARE(PlayerSettings.MovieAuto, defaults.MovieAuto);
    const std::pair<const char*, const char*> expected[] = {
        {"WinShowX", "0"},   {"WinShowY", "0"},   {"WinSizeX", "640"},   {"WinSizeY", "480"},
        {"MovieShowX", "0"}, {"MovieShowY", "0"}, {"MovieSizeX", "640"}, {"MovieSizeY", "480"},
        {"MovieAuto", "1"},  {"KeyWait", "0"},    {"AfterKey", "0"},     {"DirectDrawUse", "1"},
        {"ErrorFlag", "0"},  {"Play32", "0"},
    };
    for (const auto& [name, value] : expected)
        QCOMPARE(storedValue(env, name), QLatin1String(value));
    // The meter's two values are not among them.
    QVERIFY(storedValue(env, "Interval").isEmpty());
}

void TestSettings::partialFileIsCompletedWithoutTouchingStoredValues() {
    TestEnvironment env;
    env.writeSettings("[General]\nWinSizeX=800\nKeyWait=1\nErrorFlag=5\n");
    LoadSettings();
    QCOMPARE(PlayerSettings.WinSizeX, 800);
    QCOMPARE(PlayerSettings.KeyWait, true);
    QCOMPARE(PlayerSettings.ErrorFlag, 5u);
    QCOMPARE(PlayerSettings.WinSizeY, 480);
    QCOMPARE(storedValue(env, "WinSizeX"), QStringLiteral("800"));
    QCOMPARE(storedValue(env, "ErrorFlag"), QStringLiteral("5"));
    QCOMPARE(storedValue(env, "WinSizeY"), QStringLiteral("480"));
    QCOMPARE(storedValue(env, "Play32"), QStringLiteral("0"));
}

void TestSettings::storedNumbersLoadAsStored_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("winShowX");
    QTest::newRow("negative") << QByteArray("-100") << -100;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
}

void TestSettings::storedNumbersLoadAsStored() {
    QFETCH(QByteArray, stored);
    QFETCH(int, winShowX);
    TestEnvironment env;
    env.writeSettings("[General]\nWinShowX=" + stored + "\n");
    LoadSettings();
    QCOMPARE(PlayerSettings.WinShowX, winShowX);
}

void TestSettings::booleanStoredAsTwoIsTrueAndStoredBackAsOne() {
    TestEnvironment env;
    env.writeSettings("[General]\nKeyWait=2\nMovieAuto=0\n");
    LoadSettings();
    QCOMPARE(PlayerSettings.KeyWait, true);
    QCOMPARE(PlayerSettings.MovieAuto, false);
    QCOMPARE(storedValue(env, "KeyWait"), QStringLiteral("2"));
    SaveOptionSettings();
    QCOMPARE(storedValue(env, "KeyWait"), QStringLiteral("1"));
}

void TestSettings::badValueStopsTheLoadAndLeavesTheFile_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("named");
    QTest::newRow("text") << QByteArray("WinSizeX=abc") << "WinSizeX";
    QTest::newRow("beyond 32 bits") << QByteArray("MovieSizeY=2147483648") << "MovieSizeY";
    QTest::newRow("list") << QByteArray("Play32=1,2") << "Play32";
    QTest::newRow("empty") << QByteArray("ErrorFlag=") << "ErrorFlag";
}

void TestSettings::badValueStopsTheLoadAndLeavesTheFile() {
    QFETCH(QByteArray, line);
    QFETCH(QString, named);
    TestEnvironment env;
    QByteArray file = allFourteen;
    const QByteArray key = line.left(line.indexOf('=') + 1);
    const qsizetype at = file.indexOf("\n" + key) + 1;
    file.replace(at, file.indexOf('\n', at) - at, line);
    env.writeSettings(file);

    const QString failure = failureOf([] { LoadSettings(); });
    QVERIFY2(failure.contains(QLatin1Char('\'') + named + QLatin1Char('\'')), qPrintable(failure));
    QCOMPARE(env.readSettings(), file);
}

void TestSettings::unusableFileIsReportedAndNeverReplaced_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("unterminated section") << QByteArray("[General\nWinSizeX=800\n");
    QTest::newRow("line without value") << QByteArray("[General]\nWinSizeX\nWinSizeY=300\n");
}

void TestSettings::unusableFileIsReportedAndNeverReplaced() {
    QFETCH(QByteArray, content);
    TestEnvironment env;
    env.writeSettings(content);
    const QString failure = failureOf([] { LoadSettings(); });
    QVERIFY2(failure.contains(env.settingsFile()), qPrintable(failure));
    QCOMPARE(env.readSettings(), content);
    QVERIFY(!failureOf([] { SaveOptionSettings(); }).isEmpty());
    QCOMPARE(env.readSettings(), content);
}

void TestSettings::folderThatCannotBeCreatedFailsTheFirstWrite() {
    TestEnvironment env;
    // A plain file where the settings folder should be: neither it nor the file can be made.
    QFile blocker(env.configHome() + QStringLiteral("/Quillmoor"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString failure = failureOf([] { LoadSettings(); });
    QVERIFY2(failure.contains(QStringLiteral("'WinShowX'")), qPrintable(failure));
    QVERIFY(!failureOf([] { SaveErrorFlag(); }).isEmpty());

    // A settings "file" that is a folder cannot be read.
    QFile::remove(blocker.fileName());
    QVERIFY(QDir().mkpath(env.settingsFile()));
    QVERIFY(failureOf([] { LoadSettings(); }).contains(env.settingsFile()));
}

void TestSettings::optionSaveWritesPlacementAndSwitchesButNotTheMask() {
    TestEnvironment env;
    LoadSettings();
    PlayerSettings.MovieShowX = 56;
    PlayerSettings.MovieSizeY = 432;
    PlayerSettings.Play32 = true;
    PlayerSettings.ErrorFlag = 31;
    SaveOptionSettings();
    QCOMPARE(storedValue(env, "MovieShowX"), QStringLiteral("56"));
    QCOMPARE(storedValue(env, "MovieSizeY"), QStringLiteral("432"));
    QCOMPARE(storedValue(env, "Play32"), QStringLiteral("1"));
    QCOMPARE(storedValue(env, "ErrorFlag"), QStringLiteral("0"));
    SaveErrorFlag();
    QCOMPARE(storedValue(env, "ErrorFlag"), QStringLiteral("31"));
}

void TestSettings::meterValuesLoadOnlyFromAnExistingKey() {
    TestEnvironment env;
    int32_t interval = 0;
    bool volflag = false;
    QVERIFY(!LoadMeterSettings(interval, volflag));
    QCOMPARE(interval, 0);
    QVERIFY(!QFile::exists(env.settingsFile()));

    env.writeSettings("[General]\nWinSizeX=640\n");
    QVERIFY(LoadMeterSettings(interval, volflag));
    QCOMPARE(interval, 10);
    QCOMPARE(volflag, true);
    QCOMPARE(storedValue(env, "Interval"), QStringLiteral("10"));

    env.writeSettings("[General]\nInterval=7\nVolflag=0\n");
    QVERIFY(LoadMeterSettings(interval, volflag));
    QCOMPARE(interval, 7);
    QCOMPARE(volflag, false);
}

void TestSettings::meterValuesAreStored() {
    TestEnvironment env;
    SaveMeterSettings(50, false);
    QCOMPARE(storedValue(env, "Interval"), QStringLiteral("50"));
    QCOMPARE(storedValue(env, "Volflag"), QStringLiteral("0"));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
