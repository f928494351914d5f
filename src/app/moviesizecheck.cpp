#include "app/moviesizecheck.h"

MovieSizeCheck CheckMovieSize(int32_t winSizeX, int32_t winSizeY, int32_t movShowX,
                              int32_t movShowY, int32_t movSizeX, int32_t movSizeY) {
    const int64_t roomAcross = int64_t{winSizeX} - movShowX;
    const int64_t roomDown = int64_t{winSizeY} - movShowY;
    MovieSizeCheck check;
    if (movSizeX > roomAcross)
        check.sizeX = roomAcross;
    if (movSizeY > roomDown)
        check.sizeY = roomDown;
    return check;
}
