#include "app/startup.h"

#include "app/aboutbox.h"
#include "app/application.h"
#include "app/commandline.h"
#include "app/formfont.h"
#include "app/hooks.h"
#include "app/infowin.h"
#include "app/mainwin.h"
#include "app/openinfo.h"
#include "app/optionwin.h"
#include "app/programicon.h"
#include "audio/analyzewin.h"
#include "audio/meterwindow.h"
#include "playback/blackwin.h"
#include "playlist/blankset.h"
#include "playlist/movielist.h"
#include "playlist/movsetup.h"

#include <QGuiApplication>
#include <QIcon>
#include <cstdio>
#include <exception>

void PrepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_AUTO_SCREEN_SCALE_FACTOR");
}

namespace {

template <typename Window>
Window* create(std::vector<std::unique_ptr<QWidget>>& windows, Window*& instance) {
    auto window = std::make_unique<Window>();
    instance = window.get();
    windows.push_back(std::move(window));
    return instance;
}

} // namespace

KestruneWindows::KestruneWindows(const QStringList& arguments) {
    // A new set of windows: whatever ended before, the program is not ending now.
    ApplicationEnding = false;
    auto main = std::make_unique<TMainWin>(arguments);
    MainWin = main.get();
    windows_.push_back(std::move(main));
    create(windows_, BlackWin);
    create(windows_, OptionWin);
    create(windows_, AboutBox);
    create(windows_, info);
    create(windows_, MovieList);
    create(windows_, BlankSet);
    create(windows_, MovSetup);
    create(windows_, MeterWindow);
    create(windows_, AnalyzeWin);
    create(windows_, OpenInfo);
    ShowOpeningNotice = [] {
        OpenInfo->show();
        OpenInfo->raise();
        // One pass of event handling does not draw a newly shown window on X11: let the window
        // system map it, then paint it at once.
        QGuiApplication::sync();
        OpenInfo->repaint();
    };
    HideOpeningNotice = [] {
        OpenInfo->hide();
    };
}

KestruneWindows::~KestruneWindows() {
    ShowOpeningNotice = nullptr;
    HideOpeningNotice = nullptr;
    while (!windows_.empty())
        windows_.pop_back();
    MainWin = nullptr;
    BlackWin = nullptr;
    OptionWin = nullptr;
    AboutBox = nullptr;
    info = nullptr;
    MovieList = nullptr;
    BlankSet = nullptr;
    MovSetup = nullptr;
    MeterWindow = nullptr;
    AnalyzeWin = nullptr;
    OpenInfo = nullptr;
}

int RunKestrune(int argc, char** argv) {
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    switch (ParseCommandLine(given)) {
    case CommandLineRequest::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLineRequest::Version:
        std::fputs(VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLineRequest::Run:
        break;
    }
    PrepareEnvironment();
    KestruneApplication app(argc, argv);
    QApplication::setWindowIcon(ProgramIconImage());
    RegisterFormFontSubstitutes();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return RunWindows(arguments);
}

int RunWindows(const QStringList& arguments) {
    try {
        KestruneWindows windows(arguments);
        MainWin->show();
        QCoreApplication::exec();
    } catch (const std::exception& e) {
        ShowFailureText(e.what());
    }
    return 0;
}
