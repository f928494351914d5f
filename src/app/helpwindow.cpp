#include "app/helpwindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

QString FindManual() {
    const QString language =
        QLocale().language() == QLocale::English ? QStringLiteral("en") : QStringLiteral("ja");
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList folders = {
        appDir + QStringLiteral("/../share/doc/kestrune/manual"),
        appDir + QStringLiteral("/manual"),
    };
    for (const QString& folder : folders) {
        const QString page = folder + QStringLiteral("/index.%1.html").arg(language);
        if (QFileInfo(page).isFile())
            return QFileInfo(page).canonicalFilePath();
    }
    return {};
}

THelpWindow::THelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Kestrune Help"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

bool THelpWindow::showContents() {
    const QString page = FindManual();
    if (page.isEmpty())
        return false;
    setSource(QUrl::fromLocalFile(page));
    show();
    raise();
    activateWindow();
    return true;
}
