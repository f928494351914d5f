#include "app/aboutbox.h"
#include "app/application.h"
#include "app/commandline.h"
#include "app/helpwindow.h"
#include "app/mainwin.h"
#include "app/startup.h"
#include "audio/meterwindow.h"
#include "platform/mediaplayer.h"
#include "playback/blackwin.h"
#include "playlist/ksxfile.h"
#include "playlist/movielist.h"
#include "playlist/playlistitem.h"
#include "support/modal.h"
#include "support/testenv.h"

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QtTest>

namespace {

// Shows the main window of a start without arguments, dismissing its About box.
void showMainWindow() {
    OnNextModal([](QWidget* about) { qobject_cast<QDialog*>(about)->accept(); });
    MainWin->show();
    QTRY_VERIFY(PendingModalActions() == 0);
}

void drop(QWidget* target, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    mime.setUrls(urls);
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ClearModalActions(); }
    void windowsAreCreatedInOrderWithTheirNames();
    void mainWindowLayout();
    void startWithoutArgumentShowsAboutBeforeTheMainWindow();
    void startWithArgumentsPlaysTheFirstOnceTheWindowIsUp();
    void dropPlaysTheFirstFileTakenWhole();
    void exitEndsEveryLoopWhileOtherWindowsAreOpen();
    void failureInAHandlerIsShownAndTheLoopGoesOn();
    void failureAtStartEndsTheProgramWithStatusZero();
    void helpOpensTheManualInTheUsersLanguage_data();
    void helpOpensTheManualInTheUsersLanguage();
    void helpWithoutManualSaysSo();
    void playlistFileOpensInThePlaylistWindow_data();
    void playlistFileOpensInThePlaylistWindow();
    void commandLineRequests_data();
    void commandLineRequests();
};

void TestStartup::windowsAreCreatedInOrderWithTheirNames() {
    TestEnvironment env;
    KestruneWindows windows({});
    const std::pair<QWidget*, const char*> expected[] = {
        {MainWin, "TMainWin"},         {BlackWin, "TBlackWin"}, {MovieList, "TMovieList"},
        {MeterWindow, "TMeterWindow"}, {AboutBox, "TAboutBox"},
    };
    for (const auto& [window, className] : expected) {
        QVERIFY(window);
        QCOMPARE(window->metaObject()->className(), className);
    }
    QCOMPARE(MainWin->objectName(), QStringLiteral("MainWin"));
    QCOMPARE(BlackWin->objectName(), QStringLiteral("BlackWin"));
    QVERIFY(!BlackWin->isVisible());
}

void TestStartup::mainWindowLayout() {
    TestEnvironment env;
    KestruneWindows windows({});
    showMainWindow();
    QCOMPARE(MainWin->windowTitle(), QStringLiteral("Kestrune"));
    QCOMPARE(MainWin->centralWidget()->size(), QSize(205, 1));
    QCOMPARE(MainWin->size(), QSize(205, MainWin->MainMenu1->height() + 1));
    // Every top-level item shows, none is folded away behind an extension button.
    for (QAction* top : MainWin->MainMenu1->actions())
        QVERIFY2(MainWin->MainMenu1->actionGeometry(top).right() < 205, qPrintable(top->text()));
    QCOMPARE(MainWin->minimumSize(), MainWin->maximumSize());
    QVERIFY(!(MainWin->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(MainWin->windowFlags() & Qt::WindowMinimizeButtonHint);
    // Started with QT_SCALE_FACTOR=2: sizes stay in device pixels.
    QCOMPARE(MainWin->devicePixelRatioF(), 1.0);
    QCOMPARE(MainWin->windowHandle()->devicePixelRatio(), 1.0);

    QStringList titles;
    for (QAction* top : MainWin->MainMenu1->actions())
        titles << top->text();
    QCOMPARE(titles, (QStringList{"&File", "&Option", "&LevelMeter", "&Help"}));
    QStringList fileItems;
    for (QAction* item : MainWin->File1->actions())
        fileItems << item->objectName() + QLatin1Char('=') + item->text();
    QCOMPARE(fileItems, (QStringList{"Open1=&Open", "Info1=&Info", "List1=&List", "Exit1=E&xit"}));
    QStringList helpItems;
    for (QAction* item : MainWin->Help1->actions())
        helpItems << item->objectName() + QLatin1Char('=') + item->text();
    QCOMPARE(helpItems, (QStringList{"Help2=&Help", "About1=&About"}));
}

void TestStartup::startWithoutArgumentShowsAboutBeforeTheMainWindow() {
    TestEnvironment env;
    KestruneWindows windows({});
    bool mainWasOnScreen = true;
    QWidget* shown = nullptr;
    OnNextModal([&](QWidget* modal) {
        shown = modal;
        mainWasOnScreen = MainWin->windowHandle() && MainWin->windowHandle()->isVisible();
        qobject_cast<QDialog*>(modal)->accept();
    });
    MainWin->show();
    QCOMPARE(shown, static_cast<QWidget*>(AboutBox));
    QVERIFY(!mainWasOnScreen);
    QVERIFY(MainWin->windowHandle()->isVisible());
}

void TestStartup::startWithArgumentsPlaysTheFirstOnceTheWindowIsUp() {
    TestEnvironment env;
    const QString first = QStringLiteral("/nonexistent/first.avi");
    KestruneWindows windows({first, QStringLiteral("/nonexistent/second.avi")});
    QStringList texts;
    bool mainWasOnScreen = false;
    OnNextModal([&](QWidget* modal) {
        texts = WidgetTexts(modal);
        mainWasOnScreen = MainWin->windowHandle()->isVisible();
        ClickButton(modal, QStringLiteral("OK"));
    });
    MainWin->show();
    QTRY_VERIFY(PendingModalActions() == 0);
    QVERIFY(mainWasOnScreen);
    QCOMPARE(texts.value(0), QStringLiteral("Kestrune")); // the player's error, not the About box
    QCOMPARE(MainWin->MediaPlayer1->fileName(), first);
    QVERIFY(!AboutBox->isVisible());
}

void TestStartup::dropPlaysTheFirstFileTakenWhole() {
    TestEnvironment env;
    KestruneWindows windows({});
    showMainWindow();
    const QString longPath =
        QStringLiteral("/nonexistent/") + QString(300, QLatin1Char('m')) + QStringLiteral(".avi");
    PressOnNextModal(QStringLiteral("OK"));
    drop(MainWin, {longPath, QStringLiteral("/nonexistent/other.avi")});
    QTRY_VERIFY(PendingModalActions() == 0);
    QCOMPARE(MainWin->MediaPlayer1->fileName(), longPath);
}

void TestStartup::exitEndsEveryLoopWhileOtherWindowsAreOpen() {
    TestEnvironment env;
    KestruneWindows windows({});
    showMainWindow();
    MainWin->LevelMeter1Click();
    QVERIFY(MeterWindow->isVisible());
    // The playlist window's modal loop is running when Exit comes.
    OnNextModal([](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(MovieList));
        MainWin->Exit1Click();
    });
    bool listReturned = false;
    QTimer::singleShot(0, [&] {
        MainWin->List1Click();
        listReturned = true;
    });
    // A guard against a loop that does not end; it must not outlive this test.
    bool forced = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [&] {
        forced = true;
        QCoreApplication::exit(1);
    });
    guard.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!forced);
    QVERIFY(listReturned);
    QVERIFY(ApplicationEnding);
}

void TestStartup::failureInAHandlerIsShownAndTheLoopGoesOn() {
    QStringList texts;
    PressOnNextModal(QStringLiteral("OK"), &texts);
    bool afterwards = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("Something broke"); });
    QTimer::singleShot(50, [&] {
        afterwards = true;
        QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
    QVERIFY(afterwards);
    QCOMPARE(texts.value(0), QStringLiteral("Kestrune"));
    QVERIFY(texts.contains(QStringLiteral("Something broke.")));
}

void TestStartup::failureAtStartEndsTheProgramWithStatusZero() {
    TestEnvironment env;
    const QByteArray bad = "[General]\nWinShowX=0\nWinShowY=0\nWinSizeX=abc\nWinSizeY=480\n"
                           "MovieShowX=0\nMovieShowY=0\nMovieSizeX=640\nMovieSizeY=480\n"
                           "MovieAuto=1\nKeyWait=0\nAfterKey=0\nDirectDrawUse=1\nErrorFlag=0\n"
                           "Play32=0\n";
    env.writeSettings(bad);
    QStringList texts;
    PressOnNextModal(QStringLiteral("OK"), &texts);
    QCOMPARE(RunWindows({}), 0);
    QCOMPARE(texts.value(0), QStringLiteral("Kestrune"));
    QVERIFY(texts.contains(QStringLiteral("Invalid data type for 'WinSizeX'.")));
    QCOMPARE(env.readSettings(), bad);
    QVERIFY(!MainWin);
}

void TestStartup::helpOpensTheManualInTheUsersLanguage_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("Japanese by default") << QLocale(QLocale::C) << "index.ja.html"
                                         << "Kestrune ヘルプ";
    QTest::newRow("Japanese") << QLocale(QLocale::Japanese) << "index.ja.html"
                              << "Kestrune ヘルプ";
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "index.en.html"
                             << "Kestrune Help";
}

void TestStartup::helpOpensTheManualInTheUsersLanguage() {
    QFETCH(QLocale, locale);
    QFETCH(QString, page);
    QFETCH(QString, title);
    TestEnvironment env;
    QLocale::setDefault(locale);
    KestruneWindows windows({});
    showMainWindow();
    MainWin->Help2Click();
    QLocale::setDefault(QLocale(QLocale::C));
    auto* help = MainWin->findChild<THelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY2(help->source().toLocalFile().endsWith(page), qPrintable(help->source().toString()));
    QCOMPARE(help->documentTitle(), title);
    QVERIFY(help->toPlainText().contains(QStringLiteral("1.")));
}

void TestStartup::helpWithoutManualSaysSo() {
    TestEnvironment env;
    // The manual lies beside the test program; take it away for this test.
    QDir folder(QCoreApplication::applicationDirPath());
    QVERIFY(folder.rename(QStringLiteral("manual"), QStringLiteral("manual.away")));
    KestruneWindows windows({});
    showMainWindow();
    QStringList texts;
    PressOnNextModal(QStringLiteral("OK"), &texts);
    MainWin->Help2Click();
    QVERIFY(folder.rename(QStringLiteral("manual.away"), QStringLiteral("manual")));
    QVERIFY(texts.join(QLatin1Char('\n')).contains(QStringLiteral("kestrune.hlp")));
}

void TestStartup::playlistFileOpensInThePlaylistWindow_data() {
    QTest::addColumn<bool>("dropped");
    QTest::newRow("named on the command line") << false;
    QTest::newRow("dropped on the main window") << true;
}

void TestStartup::playlistFileOpensInThePlaylistWindow() {
    QFETCH(bool, dropped);
    TestEnvironment env;
    // A playlist file whose name does not say so: its first bytes do.
    const QString path = env.configHome() + QStringLiteral("/two-blanks.dat");
    QCOMPARE(WritePlaylistFile(path, {NewBlankItem(), NewBlankItem()}).outcome,
             PlaylistWriteResult::Written);
    KestruneWindows windows(dropped ? QStringList{} : QStringList{path});
    if (dropped)
        showMainWindow();
    int rows = -1;
    bool answered = false;
    OnNextModal([&](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(MovieList));
        rows = MovieList->ListView->topLevelItemCount();
        answered = true;
        ClickButton(modal, QStringLiteral("閉じる"));
    });
    if (dropped)
        drop(MainWin, {path});
    else
        MainWin->show();
    QTRY_VERIFY(answered);
    QCOMPARE(rows, 2);
    QVERIFY(!AboutBox->isVisible());
}

void TestStartup::commandLineRequests_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("request");
    QTest::newRow("none") << QStringList{} << int(CommandLineRequest::Run);
    QTest::newRow("movie") << QStringList{"movie.avi", "--help"} << int(CommandLineRequest::Run);
    QTest::newRow("help") << QStringList{"--help"} << int(CommandLineRequest::Help);
    QTest::newRow("version") << QStringList{"--version", "x"} << int(CommandLineRequest::Version);
}

void TestStartup::commandLineRequests() {
    QFETCH(QStringList, arguments);
    QFETCH(int, request);
    QCOMPARE(int(ParseCommandLine(arguments)), request);
}

int main(int argc, char** argv) {
    // The program must keep its pixel sizes whatever scaling the desktop asks for.
    qputenv("QT_SCALE_FACTOR", "2");
    PrepareEnvironment();
    KestruneApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
