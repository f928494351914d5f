#pragma once

#include "ui_movielist.h"

#include <QDialog>

class TMovieList : public QDialog, public Ui::TMovieList {
    Q_OBJECT
public:
    explicit TMovieList(QWidget* parent = nullptr);
};

extern TMovieList* MovieList;
