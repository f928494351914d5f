#pragma once

#include <cstdint>
#include <optional>

// The movie area measured against the stage before the options are taken: a movie wider (taller)
// than the room from its position to the stage's right (bottom) edge is cut to that room. The room
// is negative for a position beyond the stage; it is computed in 64 bits so no sum can overflow.
struct MovieSizeCheck {
    std::optional<int64_t> sizeX; // the reduced width, when the movie sticks out across
    std::optional<int64_t> sizeY; // the reduced height, when it sticks out downwards

    bool overflow() const { return sizeX.has_value() || sizeY.has_value(); }
    bool operator==(const MovieSizeCheck&) const = default;
};

MovieSizeCheck CheckMovieSize(int32_t winSizeX, int32_t winSizeY, int32_t movShowX,
                              int32_t movShowY, int32_t movSizeX, int32_t movSizeY);
