#include "app/mainwin.h"
#include "app/optionwin.h"
#include "app/settingsstore.h"
#include "playback/placement.h"
#include "support/modal.h"
#include "support/modalguard.h"
#include "support/testenv.h"
#include "support/typing.h"

#include <QtTest>
#include <memory>

namespace {

const QString overflowMessage = QStringLiteral("Movie領域がWindowからはみでています。");

const struct {
    const char* name;
    int32_t TPlayerSettings::*field;
} numbers[] = {
    {"WinShowX", &TPlayerSettings::WinShowX},     {"WinShowY", &TPlayerSettings::WinShowY},
    {"WinSizeX", &TPlayerSettings::WinSizeX},     {"WinSizeY", &TPlayerSettings::WinSizeY},
    {"MovieShowX", &TPlayerSettings::MovieShowX}, {"MovieShowY", &TPlayerSettings::MovieShowY},
    {"MovieSizeX", &TPlayerSettings::MovieSizeX}, {"MovieSizeY", &TPlayerSettings::MovieSizeY}};
const struct {
    const char* name;
    bool TPlayerSettings::*field;
} flags[] = {{"MovieAuto", &TPlayerSettings::MovieAuto},
             {"KeyWait", &TPlayerSettings::KeyWait},
             {"AfterKey", &TPlayerSettings::AfterKey},
             {"DirectDrawUse", &TPlayerSettings::DirectDrawUse},
             {"Play32", &TPlayerSettings::Play32}};

// The default settings with "Name=value" changes applied.
TPlayerSettings settingsWith(const QString& changes) {
    TPlayerSettings s;
    for (const QString& change : changes.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = change.section(u'=', 0, 0);
        const int value = change.section(u'=', 1).toInt();
        bool known = false;
        for (const auto& n : numbers) {
            if (name == QLatin1String(n.name)) {
                s.*n.field = value;
                known = true;
            }
        }
        for (const auto& f : flags) {
            if (name == QLatin1String(f.name)) {
                s.*f.field = value != 0;
                known = true;
            }
        }
        if (!known)
            qFatal("unknown setting %s", qPrintable(name));
    }
    return s;
}

QString describe(const TPlayerSettings& s) {
    QStringList parts;
    for (const auto& n : numbers)
        parts << QStringLiteral("%1=%2").arg(QLatin1String(n.name)).arg(s.*n.field);
    for (const auto& f : flags)
        parts << QStringLiteral("%1=%2").arg(QLatin1String(f.name)).arg(int(s.*f.field));
    return parts.join(u' ');
}

// What the dialog shows, in the same words as describe(): movie fields under the setting names.
QString shown(TOptionWin* w) {
    const TPlayerSettings s = settingsWith(
        QStringLiteral(
            "WinShowX=%1 WinShowY=%2 WinSizeX=%3 WinSizeY=%4 MovieShowX=%5 MovieShowY=%6 "
            "MovieSizeX=%7 MovieSizeY=%8 MovieAuto=%9 KeyWait=%10 AfterKey=%11 DirectDrawUse=%12 "
            "Play32=%13")
            .arg(w->WinShowX->fieldText(), w->WinShowY->fieldText(), w->WinSizeX->fieldText(),
                 w->WinSizeY->fieldText(), w->MovShowX->fieldText(), w->MovShowY->fieldText(),
                 w->MovSizeX->fieldText(), w->MovSizeY->fieldText())
            .arg(int(w->AutoFlag->isChecked()))
            .arg(int(w->KeyWaitFlag->isChecked()))
            .arg(int(w->AfterKeyFlag->isChecked()))
            .arg(int(w->DirectDrawUse->isChecked()))
            .arg(int(w->Play32bits->isChecked())));
    return describe(s);
}

// Which of the movie fields and their labels, and of the rest, can be used: "movie:1 others:1".
QString usable(TOptionWin* w) {
    auto all = [](std::initializer_list<QWidget*> widgets, bool enabled) {
        return std::all_of(widgets.begin(), widgets.end(),
                           [enabled](QWidget* x) { return x->isEnabled() == enabled; });
    };
    const std::initializer_list<QWidget*> movie = {w->Label5,   w->Label6,   w->Label7,
                                                   w->Label8,   w->MovShowX, w->MovShowY,
                                                   w->MovSizeX, w->MovSizeY};
    const std::initializer_list<QWidget*> others = {
        w->Label1,       w->Label2,        w->Label3,     w->Label4,   w->WinShowX,
        w->WinShowY,     w->WinSizeX,      w->WinSizeY,   w->AutoFlag, w->KeyWaitFlag,
        w->AfterKeyFlag, w->DirectDrawUse, w->Play32bits, w->OK,       w->Cancel};
    const QString movieState = all(movie, true)    ? QStringLiteral("1")
                               : all(movie, false) ? QStringLiteral("0")
                                                   : QStringLiteral("mixed");
    return QStringLiteral("movie:%1 others:%2").arg(movieState).arg(int(all(others, true)));
}

// Types "Field:keys" entries into the dialog, each field entered with Tab as a user does.
void typeEntries(TOptionWin* w, const QStringList& entries) {
    AwaitActive(w);
    for (const QString& entry : entries) {
        QWidget* target = w->findChild<QWidget*>(entry.section(u':', 0, 0));
        QVERIFY2(target, qPrintable(entry));
        TabInAndType(target, entry.section(u':', 1));
    }
}

} // namespace

class TestOptionWin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void confirm_data();
    void confirm();
    void closeWithoutOk_data();
    void closeWithoutOk();
    void autoFlagGovernsMovieFields_data();
    void autoFlagGovernsMovieFields();
    void focusTabOrderAndDefault();
    void okStoresAutomaticPlacement();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<TMainWin> main_;
    std::unique_ptr<TOptionWin> options_;
    QStringList unexpected_;
};

// Like the program, the tests create the windows once and reuse the options dialog.
void TestOptionWin::initTestCase() {
    TestEnvironment env;
    main_ = std::make_unique<TMainWin>();
    options_ = std::make_unique<TOptionWin>();
    OptionWin = options_.get();
}

void TestOptionWin::cleanupTestCase() {
    OptionWin = nullptr;
    options_.reset();
    main_.reset();
}

// Every test starts from a first run: no settings file, the defaults in memory.
void TestOptionWin::init() {
    env_ = std::make_unique<TestEnvironment>();
    unexpected_.clear();
}

void TestOptionWin::cleanup() {
    ClearModalActions();
    env_.reset();
}

void TestOptionWin::confirm_data() {
    QTest::addColumn<QString>("before");       // settings in memory when the dialog opens
    QTest::addColumn<QStringList>("typed");    // "Field:keys", each field entered with Tab
    QTest::addColumn<QString>("cameBackWith"); // MovSizeX,MovSizeY after the message; "" = none
    QTest::addColumn<QString>("stored");       // settings after OK, as changes from the defaults

    QTest::newRow("defaults pass unchanged") << "" << QStringList{} << ""
                                             << "";
    QTest::newRow("too wide: message, back with the room across")
        << "MovieAuto=0" << QStringList{"MovShowX:100"} << "540,480"
        << "MovieAuto=0 MovieShowX=100 MovieSizeX=540";
    QTest::newRow("too wide under MovieAuto: cut silently")
        << "MovieShowX=100" << QStringList{} << ""
        << "MovieShowX=100 MovieSizeX=540";
    QTest::newRow("both sizes too large: one message")
        << "MovieAuto=0" << QStringList{"MovShowX:100", "MovShowY:100"} << "540,380"
        << "MovieAuto=0 MovieShowX=100 MovieShowY=100 MovieSizeX=540 MovieSizeY=380";
    QTest::newRow("empty stage width: checked as 0, stored as 640")
        << "MovieAuto=0" << QStringList{"WinSizeX:[Del]", "AutoFlag: "} << ""
        << "MovieSizeX=0";
    QTest::newRow("empty stage width without MovieAuto: cut to 0")
        << "MovieAuto=0" << QStringList{"WinSizeX:[Del]"} << "0,480"
        << "MovieAuto=0 MovieSizeX=0";
    QTest::newRow("position beyond the stage: negative size")
        << "MovieAuto=0" << QStringList{"MovShowX:700"} << "-60,480"
        << "MovieAuto=0 MovieShowX=700 MovieSizeX=-60";
    QTest::newRow("6 4 counts 0 at the check") << "" << QStringList{"WinSizeX:6 4"} << ""
                                               << "MovieSizeX=0";
    QTest::newRow("6 4 takes the default when stored")
        << "MovieAuto=0 MovieSizeY=200 WinShowX=30" << QStringList{"MovSizeY:6 4", "WinShowX:6 4"}
        << ""
        << "MovieAuto=0";
    QTest::newRow("typed values and boxes are taken")
        << "" << QStringList{"WinShowX:-20",   "WinShowY:+8",     "KeyWaitFlag: ",
                             "AfterKeyFlag: ", "DirectDrawUse: ", "Play32bits: "}
        << ""
        << "WinShowX=-20 WinShowY=8 KeyWait=1 AfterKey=1 DirectDrawUse=0 Play32=1";
    QTest::newRow("a typed 0 is not lost")
        << "MovieAuto=0" << QStringList{"MovSizeX:100", "MovSizeY:200"} << ""
        << "MovieAuto=0 MovieSizeX=100 MovieSizeY=200";
}

void TestOptionWin::confirm() {
    QFETCH(QString, before);
    QFETCH(QStringList, typed);
    QFETCH(QString, cameBackWith);
    QFETCH(QString, stored);

    PlayerSettings = settingsWith(before);
    const bool message = !cameBackWith.isEmpty();
    QStringList boxTexts;
    QString back;
    OnNextModal([&](QWidget*) {
        typeEntries(OptionWin, typed);
        ClickButton(OptionWin, QStringLiteral("OK"));
    });
    if (message) {
        PressOnNextModal(QStringLiteral("OK"), &boxTexts);
        OnNextModal([&](QWidget*) {
            back = OptionWin->MovSizeX->fieldText() + u',' + OptionWin->MovSizeY->fieldText();
            ClickButton(OptionWin, QStringLiteral("OK"));
        });
    }
    GuardUnexpectedModals(&unexpected_);
    main_->option1->trigger();

    QCOMPARE(unexpected_, QStringList{});
    if (message) {
        QCOMPARE(boxTexts, (QStringList{QStringLiteral("Kestrune"), overflowMessage}));
        QCOMPARE(back, cameBackWith);
    }
    const QString expected = describe(settingsWith(stored));
    QCOMPARE(describe(PlayerSettings), expected);
    ResetProcessState();
    LoadSettings();
    QCOMPARE(describe(PlayerSettings), expected);
}

void TestOptionWin::closeWithoutOk_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "Cancel";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("title bar") << "close";
}

void TestOptionWin::closeWithoutOk() {
    QFETCH(QString, how);

    const TPlayerSettings current = settingsWith(QStringLiteral("WinShowX=12 MovieSizeY=300"));
    PlayerSettings = current;
    const QByteArray fileBefore = env_->readSettings();
    OnNextModal([&](QWidget*) {
        typeEntries(OptionWin, {QStringLiteral("WinShowX:99"), QStringLiteral("MovSizeX:100"),
                                QStringLiteral("AutoFlag: "), QStringLiteral("KeyWaitFlag: ")});
        if (how == QLatin1String("Cancel"))
            ClickButton(OptionWin, how);
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(OptionWin, Qt::Key_Escape);
        else
            OptionWin->close();
    });
    GuardUnexpectedModals(&unexpected_);
    main_->option1Click();
    QCOMPARE(unexpected_, QStringList{});
    QCOMPARE(describe(PlayerSettings), describe(current));
    QCOMPARE(env_->readSettings(), fileBefore);
    ClearModalActions();

    QString reopened;
    QString reopenedUsable;
    OnNextModal([&](QWidget*) {
        reopened = shown(OptionWin);
        reopenedUsable = usable(OptionWin);
        ClickButton(OptionWin, QStringLiteral("Cancel"));
    });
    main_->option1Click();
    QCOMPARE(reopened, describe(current));
    QCOMPARE(reopenedUsable, QStringLiteral("movie:0 others:1"));
}

void TestOptionWin::autoFlagGovernsMovieFields_data() {
    QTest::addColumn<bool>("movieAuto");
    QTest::addColumn<QString>("atOpening");
    QTest::addColumn<QString>("afterClick");
    QTest::newRow("MovieAuto on") << true << "movie:0 others:1"
                                  << "movie:1 others:1";
    QTest::newRow("MovieAuto off") << false << "movie:1 others:1"
                                   << "movie:0 others:1";
}

void TestOptionWin::autoFlagGovernsMovieFields() {
    QFETCH(bool, movieAuto);
    QFETCH(QString, atOpening);
    QFETCH(QString, afterClick);

    // The dialog is reused: the previous opening left the box in the other state.
    PlayerSettings.MovieAuto = !movieAuto;
    OnNextModal([](QWidget*) { ClickButton(OptionWin, QStringLiteral("Cancel")); });
    main_->option1Click();

    PlayerSettings.MovieAuto = movieAuto;
    QString opening;
    QString clicked;
    OnNextModal([&](QWidget*) {
        opening = usable(OptionWin);
        QTest::mouseClick(OptionWin->AutoFlag, Qt::LeftButton, {}, QPoint(6, 8));
        clicked = usable(OptionWin);
        ClickButton(OptionWin, QStringLiteral("Cancel"));
    });
    GuardUnexpectedModals(&unexpected_);
    main_->option1Click();
    QCOMPARE(unexpected_, QStringList{});
    QCOMPARE(opening, atOpening);
    QCOMPARE(clicked, afterClick);
}

void TestOptionWin::focusTabOrderAndDefault() {
    PlayerSettings.MovieAuto = false;
    QStringList order;
    QString focusAtOpening;
    QString focusAfterMessage;
    bool okDefault = false;
    OnNextModal([&](QWidget*) {
        AwaitActive(OptionWin);
        focusAtOpening = QApplication::focusWidget()->objectName();
        okDefault = OptionWin->OK->isDefault() && !OptionWin->Cancel->isDefault();
        for (int i = 0; i < 15; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        // Enter in a field presses the default button.
        TabInAndType(OptionWin->MovShowX, QStringLiteral("100[Return]"));
    });
    PressOnNextModal(QStringLiteral("OK"));
    OnNextModal([&](QWidget*) {
        AwaitActive(OptionWin);
        focusAfterMessage = QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    GuardUnexpectedModals(&unexpected_);
    main_->option1Click();

    QCOMPARE(unexpected_, QStringList{});
    QCOMPARE(focusAtOpening, QStringLiteral("OK"));
    QVERIFY(okDefault);
    QCOMPARE(order,
             (QStringList{"Cancel", "WinShowX", "WinShowY", "WinSizeX", "WinSizeY", "MovShowX",
                          "MovShowY", "MovSizeX", "MovSizeY", "AutoFlag", "KeyWaitFlag",
                          "AfterKeyFlag", "DirectDrawUse", "Play32bits", "OK"}));
    QCOMPARE(focusAfterMessage, QStringLiteral("OK"));
    QCOMPARE(PlayerSettings.MovieShowX, 100);
    QCOMPARE(PlayerSettings.MovieSizeX, 540);
}

void TestOptionWin::okStoresAutomaticPlacement() {
    // A 200 x 150 movie placed automatically on the 640 x 480 stage: three times, centred.
    const MoviePlacement placed = AutoPlacement(200, 150, 640, 480);
    PlayerSettings.MovieShowX = placed.showX;
    PlayerSettings.MovieShowY = placed.showY;
    PlayerSettings.MovieSizeX = placed.sizeX;
    PlayerSettings.MovieSizeY = placed.sizeY;
    OnNextModal([](QWidget*) { ClickButton(OptionWin, QStringLiteral("OK")); });
    GuardUnexpectedModals(&unexpected_);
    main_->option1Click();
    QCOMPARE(unexpected_, QStringList{});

    ResetProcessState();
    LoadSettings();
    QCOMPARE(describe(PlayerSettings),
             describe(settingsWith(
                 QStringLiteral("MovieShowX=20 MovieShowY=15 MovieSizeX=600 MovieSizeY=450"))));
}

QTEST_MAIN(TestOptionWin)
#include "tst_optionwin.moc"
