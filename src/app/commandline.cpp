#include "app/commandline.h"

CommandLineRequest ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return CommandLineRequest::Run;
    if (arguments.constFirst() == QLatin1String("--help"))
        return CommandLineRequest::Help;
    if (arguments.constFirst() == QLatin1String("--version"))
        return CommandLineRequest::Version;
    return CommandLineRequest::Run;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: kestrune [FILE]\n"
        "       kestrune --help | --version\n"
        "\n"
        "Plays movies on the stage, the desktop region a scan converter shows on a television.\n"
        "FILE is a movie (AVI, QuickTime, MPEG) to play at once, or a KSX playlist to open in\n"
        "the playlist window. Without FILE the About box is shown first.\n"
        "\n"
        "  --help     print this text and exit\n"
        "  --version  print the version and exit\n");
}

QString VersionText() {
    return QStringLiteral("Kestrune %1\n").arg(QStringLiteral(KESTRUNE_VERSION));
}
