#include "app/settingsstore.h"
#include "platform/settingskey.h"
#include "support/testenv.h"

#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRunWritesDefaults();
};

void TestSettings::firstRunWritesDefaults() {
    TestEnvironment env;
    LoadSettings();
    QCOMPARE(PlayerSettings.WinSizeX, 640);
    QVERIFY(env.readSettings().contains("WinSizeX=640"));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
