#include "app/aboutbox.h"
#include "app/formatduration.h"
#include "app/infowin.h"
#include "app/mainwin.h"
#include "app/openinfo.h"
#include "app/processflags.h"
#include "platform/mediaplayer.h"
#include "playlist/movielist.h"
#include "support/fixtures.h"
#include "support/modal.h"
#include "support/modalguard.h"
#include "support/testenv.h"
#include "support/typing.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// True when the pixmap shows something: at least one pixel that is not fully transparent.
bool drawn(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
        }
    }
    return false;
}

// Answers the next file dialog with a path typed into its file name field, as a user may.
void chooseFile(const QString& path) {
    OnNextModal([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        // Typed into the focused field, the name replaces the file chosen last time.
        AwaitActive(dialog);
        name->setFocus();
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog->isVisible()) {
            qWarning("the file dialog did not take %s", qPrintable(path));
            dialog->reject();
        }
    });
}

} // namespace

class TestInfoDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void formatDuration_data();
    void formatDuration();
    void infoShowsMovie_data();
    void infoShowsMovie();
    void infoLeftOnlyWithOk_data();
    void infoLeftOnlyWithOk();
    void infoCommandOnMovie_data();
    void infoCommandOnMovie();
    void infoCommandCancelled();
    void infoCommandOnBrokenFile();
    void aboutBox();
    void openingNoticeOverPlaylist();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<TMainWin> main_;
    std::unique_ptr<Tinfo> info_;
    std::unique_ptr<TAboutBox> about_;
    std::unique_ptr<TMovieList> list_;
    std::unique_ptr<TOpenInfo> notice_;
    QTemporaryDir files_;
};

void TestInfoDialogs::initTestCase() {
    env_ = std::make_unique<TestEnvironment>();
    main_ = std::make_unique<TMainWin>();
    info_ = std::make_unique<Tinfo>();
    info = info_.get();
    about_ = std::make_unique<TAboutBox>();
    AboutBox = about_.get();
    list_ = std::make_unique<TMovieList>();
    MovieList = list_.get();
    notice_ = std::make_unique<TOpenInfo>();
    OpenInfo = notice_.get();
}

void TestInfoDialogs::cleanupTestCase() {
    OpenInfo = nullptr;
    MovieList = nullptr;
    AboutBox = nullptr;
    info = nullptr;
    notice_.reset();
    list_.reset();
    about_.reset();
    info_.reset();
    main_.reset();
    env_.reset();
}

void TestInfoDialogs::cleanup() {
    ClearModalActions();
}

void TestInfoDialogs::formatDuration_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0:00:00.000";
    QTest::newRow("one millisecond") << qint64(1) << "0:00:00.001";
    QTest::newRow("83.456 s") << qint64(83456) << "0:01:23.456";
    QTest::newRow("just under an hour") << qint64(3599999) << "0:59:59.999";
    QTest::newRow("1 h 2 min 3.004 s") << qint64(3723004) << "1:02:03.004";
    QTest::newRow("hours are not padded") << qint64(36000000) << "10:00:00.000";
    QTest::newRow("largest 32-bit length") << qint64(2147483647) << "596:31:23.647";
}

void TestInfoDialogs::formatDuration() {
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(FormatDuration(ms), text);
}

void TestInfoDialogs::infoShowsMovie_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lengthMs");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("time");
    QTest::newRow("320 x 240") << 320 << 240 << 83456 << "320,240"
                               << "0:01:23.456";
    QTest::newRow("no picture") << 0 << 0 << 3723004 << "0,0"
                                << "1:02:03.004";
}

void TestInfoDialogs::infoShowsMovie() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, lengthMs);
    QFETCH(QString, size);
    QFETCH(QString, time);

    const QString longPath =
        QStringLiteral("/home/operator/") + QString(200, u'x') + QStringLiteral("/ムービー.avi");
    info->ShowMovie(longPath, width, height, lengthMs);
    QCOMPARE(info->filename->text(), longPath);
    QCOMPARE(info->size->text(), size);
    QCOMPARE(info->time->text(), time);
    // A long name is cut at the label's right edge; neither the label nor the dialog grows.
    QCOMPARE(info->filename->geometry(), QRect(88, 16, 177, 16));
    QCOMPARE(info->QDialog::size(), QSize(277, 120));
}

void TestInfoDialogs::infoLeftOnlyWithOk_data() {
    QTest::addColumn<QString>("attempt");
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("window close") << "close";
}

void TestInfoDialogs::infoLeftOnlyWithOk() {
    QFETCH(QString, attempt);

    const Qt::WindowFlags flags = info->windowFlags();
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(flags & Qt::WindowStaysOnTopHint);

    bool stillUp = false;
    OnNextModal([&](QWidget*) {
        if (attempt == QLatin1String("Escape"))
            QTest::keyClick(info, Qt::Key_Escape);
        else
            info->close();
        QCoreApplication::processEvents();
        stillUp = info->isVisible();
        QTest::mouseClick(info->Button1, Qt::LeftButton);
    });
    QStringList unexpected;
    GuardUnexpectedModals(&unexpected);
    QCOMPARE(info->exec(), int(QDialog::Accepted));
    QVERIFY(stillUp);
    QCOMPARE(unexpected, QStringList{});
}

void TestInfoDialogs::infoCommandOnMovie_data() {
    QTest::addColumn<FixtureKind>("kind");
    QTest::addColumn<QString>("size");
    QTest::newRow("MPEG-1, 320 x 240") << FixtureKind::Mpeg1Video << "320,240";
    QTest::newRow("AVI, 160 x 120") << FixtureKind::MotionJpegAvi << "160,120";
    QTest::newRow("sound only") << FixtureKind::AudioOnly << "0,0";
}

void TestInfoDialogs::infoCommandOnMovie() {
    QFETCH(FixtureKind, kind);
    QFETCH(QString, size);
    const QString path = Fixture(kind);
    QVERIFY2(!path.isEmpty(), "fixture could not be made");

    QString shownName;
    QString shownSize;
    QString shownTime;
    bool openWhileShown = false;
    QStringList unexpected;
    chooseFile(path);
    OnNextModal([&](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(info));
        shownName = info->filename->text();
        shownSize = info->size->text();
        shownTime = info->time->text();
        openWhileShown = main_->MediaPlayer1->isOpen();
        QTest::mouseClick(info->Button1, Qt::LeftButton);
    });
    GuardUnexpectedModals(&unexpected);
    main_->Info1->trigger();

    QCOMPARE(unexpected, QStringList{});
    QCOMPARE(shownName, path);
    QCOMPARE(shownSize, size);
    // The length as the file tells it: within a frame or two of the nominal length.
    const QRegularExpression format(QStringLiteral("^0:00:(\\d\\d)\\.(\\d\\d\\d)$"));
    const QRegularExpressionMatch time = format.match(shownTime);
    QVERIFY2(time.hasMatch(), qPrintable(shownTime));
    const int ms = time.captured(1).toInt() * 1000 + time.captured(2).toInt();
    QVERIFY2(std::abs(ms - FixtureInfo(kind).lengthMs) <= 100, qPrintable(shownTime));
    // Only opened for the dialog, never played, and closed when it is left.
    QVERIFY(openWhileShown);
    QVERIFY(!main_->MediaPlayer1->isOpen());
    QCOMPARE(main_->MediaPlayer1->display(), nullptr);
    QCOMPARE(PlaybackState, Idle);
}

void TestInfoDialogs::infoCommandCancelled() {
    QStringList unexpected;
    OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    GuardUnexpectedModals(&unexpected);
    main_->Info1->trigger();
    QCOMPARE(unexpected, QStringList{});
}

void TestInfoDialogs::infoCommandOnBrokenFile() {
    const QString path = files_.filePath(QStringLiteral("broken.avi"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a movie\n");
    file.close();
    info->filename->setText(QStringLiteral("previous"));

    QStringList boxTexts;
    QStringList unexpected;
    chooseFile(path);
    PressOnNextModal(QStringLiteral("OK"), &boxTexts);
    GuardUnexpectedModals(&unexpected);
    main_->Info1->trigger();

    // Only the player's own error text, in a plain box; the information dialog stays away.
    QCOMPARE(unexpected, QStringList{});
    QCOMPARE(boxTexts,
             (QStringList{QStringLiteral("Kestrune"), main_->MediaPlayer1->ErrorMessage()}));
    QVERIFY(!main_->MediaPlayer1->ErrorMessage().isEmpty());
    QCOMPARE(info->filename->text(), QStringLiteral("previous"));
}

void TestInfoDialogs::aboutBox() {
    QCOMPARE(AboutBox->windowTitle(), QStringLiteral("Kestrune"));
    QCOMPARE(AboutBox->size(), QSize(242, 161));
    QCOMPARE(AboutBox->ProductName->text(), QStringLiteral("Kestrune"));
    QCOMPARE(AboutBox->Version->text(), QStringLiteral("Version 0.05"));
    QCOMPARE(AboutBox->MakeDate->text(), QStringLiteral("1998/09/20"));
    QCOMPARE(AboutBox->ProgramIcon->geometry(), QRect(8, 8, 33, 33));
    // The icon really is drawn (its resource and the SVG support are there).
    QVERIFY(drawn(AboutBox->ProgramIcon->pixmap()));
    // Whole texts: the labels that size themselves are as wide as their text.
    for (QLabel* label : {AboutBox->ProductName, AboutBox->MakeDate})
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));

    bool okDefault = false;
    OnNextModal([&](QWidget*) {
        okDefault = AboutBox->OKButton->isDefault();
        QTest::keyClick(AboutBox, Qt::Key_Return);
    });
    QStringList unexpected;
    GuardUnexpectedModals(&unexpected);
    main_->About1->trigger();
    QCOMPARE(unexpected, QStringList{});
    QVERIFY(okDefault);
    QCOMPARE(AboutBox->result(), int(QDialog::Accepted));
}

void TestInfoDialogs::openingNoticeOverPlaylist() {
    const Qt::WindowFlags flags = OpenInfo->windowFlags();
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QCOMPARE(OpenInfo->Label1->text(), QStringLiteral("ムービーオープン中"));
    QVERIFY(OpenInfo->Label1->font().bold());

    // Wherever the playlist window is, the notice stands at the same place over it.
    for (const QPoint at : {QPoint(100, 50), QPoint(300, 220)}) {
        MovieList->move(at);
        OpenInfo->show();
        QCOMPARE(OpenInfo->pos(), at + QPoint(238, 144));
        OpenInfo->hide();
    }
}

QTEST_MAIN(TestInfoDialogs)
#include "tst_infodialogs.moc"
