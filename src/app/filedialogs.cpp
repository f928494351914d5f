#include "app/filedialogs.h"

#include <QFileDialog>

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return result;
}

QFileDialog* CreateOpenDialog(QWidget* parent, const QString& filter) {
    auto* dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ReadOnly);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(QtNameFilters(filter));
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    return dialog;
}

QFileDialog* CreateSaveDialog(QWidget* parent, const QString& filter,
                              const QString& defaultSuffix) {
    auto* dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(QtNameFilters(filter));
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    return dialog;
}

QString RunOpenDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
