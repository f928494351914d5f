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
// A file-save dialog of Qt's own kind: a name typed without an extension gets defaultSuffix, and
// choosing an existing file asks before overwriting it.
QFileDialog* CreateSaveDialog(QWidget* parent, const QString& filter, const QString& defaultSuffix);
// Runs an open or save dialog; the chosen path, or empty when cancelled.
QString RunOpenDialog(QFileDialog& dialog);
