#pragma once

// Plays the playlist once on the stage, from its first row to its last: each movie with the
// placement and volumes of its row, each blank by holding the black stage for its whole seconds.
// The stage is shown once and stays up between the rows. A stop by key or click on the stage
// ends the run, and so does the end of the program. The movie placement settings and both volumes
// are what they were when it returns; an empty list returns at once.
//
// With KeyWait on, each cued movie waits for its start input and then for its end, as the
// operator cues it; a movie that could not be opened leaves no cue and the run goes on.
void PlayPlaylist();
