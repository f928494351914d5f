#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Turns a filter written "Name|*.AVI;*.MOV|All|*.*" into Qt's "Name (*.AVI *.MOV)" entries;
// "*.*" means every file, also one without an extension.
QStringList QtNameFilters(const QString& filter);

// A file-open dialog of Qt's own kind (its matching ignores case) for one existing file.
QFileDialog* CreateOpenDialog(QWidget* parent, const QString& filter);
// Runs an open dialog; the chosen path, or empty when cancelled.
QString RunOpenDialog(QFileDialog& dialog);
