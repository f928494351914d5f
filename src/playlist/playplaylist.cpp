#include "playlist/playplaylist.h"

#include "app/hooks.h"
#include "app/processflags.h"
#include "app/settingsstore.h"
#include "audio/mixer.h"
#include "playback/blackwin.h"
#include "playlist/messagewait.h"
#include "playlist/movielist.h"
#include "playlist/playlistrules.h"

namespace {

// What a run changes for its duration and puts back at its end.
struct RunSettings {
    int32_t movieSizeX;
    int32_t movieSizeY;
    int32_t movieShowX;
    int32_t movieShowY;
    bool movieAuto;
    int masterVolume;
    int waveVolume;
};

RunSettings SaveRunSettings() {
    const TPlayerSettings& s = PlayerSettings;
    return {s.MovieSizeX, s.MovieSizeY,      s.MovieShowX,   s.MovieShowY,
            s.MovieAuto,  GetMasterVolume(), GetWaveVolume()};
}

void RestoreRunSettings(const RunSettings& saved) {
    SetMasterVolume(saved.masterVolume);
    SetWaveVolume(saved.waveVolume);
    TPlayerSettings& s = PlayerSettings;
    s.MovieSizeX = saved.movieSizeX;
    s.MovieSizeY = saved.movieSizeY;
    s.MovieShowX = saved.movieShowX;
    s.MovieShowY = saved.movieShowY;
    s.MovieAuto = saved.movieAuto;
}

// A movie that MoviePlay left cued: with KeyWait on, a successful open leaves the state Idle and
// the stage up, while a failed one hides the stage again.
bool MovieCued() {
    return PlaybackState == Idle && PlayerSettings.KeyWait && BlackWin->isVisible();
}

// Waits for the movie just handed to MoviePlay: for its start input while it is cued, then until
// it has ended or was stopped (an AfterKey hold included). False when the program is ending.
bool WaitForMovie() {
    if (!HandleMessagesUntil([] { return !MovieCued(); }))
        return false;
    return HandleMessagesUntil([] { return PlaybackState == Idle; });
}

// Plays one movie row; false when the program is ending.
bool PlayMovieRow(const PlaylistItem& item) {
    const MovieRowValues values = MovieRowValuesOf(item);
    TPlayerSettings& s = PlayerSettings;
    s.MovieSizeX = values.sizeX;
    s.MovieSizeY = values.sizeY;
    s.MovieShowX = values.showX;
    s.MovieShowY = values.showY;
    SetMasterVolume(values.masterVolume);
    SetWaveVolume(values.waveVolume);
    CallHook(MoviePlay, item.caption);
    return WaitForMovie();
}

} // namespace

void PlayPlaylist() {
    if (!MovieList || MovieList->rowCount() == 0)
        return;
    const RunSettings saved = SaveRunSettings();
    PlayerSettings.MovieAuto = false;
    const TPlayerSettings& s = PlayerSettings;
    BlackWin->setStageBounds(s.WinShowX, s.WinShowY, s.WinSizeX, s.WinSizeY);
    BlackWin->showStage();

    bool endedWithBlank = false;
    for (int i = 0; i < MovieList->rowCount(); ++i) {
        MoreItemsFollow = i + 1 != MovieList->rowCount();
        const PlaylistItem item = MovieList->row(i);
        endedWithBlank = !IsMovie(item);
        if (endedWithBlank) {
            if (!HoldWithoutInput(BlankHoldSeconds(SubItemNumber(item, SubLengthMs))))
                break;
            continue;
        }
        if (!PlayMovieRow(item) || !MoreItemsFollow)
            break;
    }

    RestoreRunSettings(saved);
    // No movie's end is left to hide the stage after a closing blank.
    if (endedWithBlank)
        BlackWin->hideStage();
}
