#include "playlist/movielist.h"

TMovieList* MovieList = nullptr;

TMovieList::TMovieList(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
