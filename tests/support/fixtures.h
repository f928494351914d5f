#pragma once

#include <QColor>
#include <QMetaType>
#include <QString>

// Movie files for tests and benchmarks, generated on first use with GStreamer (gst-launch-1.0) or
// FFmpeg from Debian, never downloaded. Each is made once into <build>/fixtures and reused by later
// tests and runs; a changed recipe gives a new file name, so a stale file is never used.
//
//   const QString path = Fixture(FixtureKind::MotionJpegAvi);
//   QVERIFY2(!path.isEmpty(), "fixture could not be made");
//
// Unless stated, a picture is the SMPTE colour bars (seven vertical bars across the top two thirds:
// white, yellow, cyan, green, magenta, red, blue, at 75 %) and a sound is a 440 Hz sine at half of
// full scale (a 16-bit peak of about 16384) on every channel.
enum class FixtureKind {
    // AVI, Motion JPEG 160 x 120 at 25 fps, 2.0 s; PCM 16-bit stereo 44.1 kHz.
    MotionJpegAvi,
    // QuickTime MOV, Photo-JPEG 176 x 144 at 25 fps, 2.0 s; PCM 16-bit stereo 44.1 kHz.
    QuickTimeMov,
    // MPEG program stream (avmux_mpeg), MPEG-2 video (mpeg2enc) 352 x 240 at 29.97 fps, 2.0 s;
    // MPEG-1 audio layer II stereo 44.1 kHz.
    MpegProgram,
    // MPEG-1 system stream, MPEG-1 video (mpeg2enc) 320 x 240 at 25 fps, 2.0 s; MPEG-1 audio
    // layer II stereo 44.1 kHz.
    Mpeg1Video,
    // AVI, Cinepak 160 x 120 at 15 fps, 2.0 s; PCM 8-bit mono 22.05 kHz.
    Cinepak,
    // AVI, Microsoft Video 1 160 x 120 at 15 fps, 2.0 s; PCM 8-bit mono 22.05 kHz.
    MsVideo1,
    // QuickTime MOV, Sorenson Video (SVQ1) 160 x 120 at 15 fps, 2.0 s; PCM 16-bit stereo 22.05 kHz.
    SorensonVideo,
    // QuickTime MOV, QuickTime RLE (Animation) 160 x 120 at 15 fps, 2.0 s; PCM 16-bit stereo
    // 22.05 kHz.
    QuickTimeRle,
    // QuickTime MOV, PNG (lossless) 160 x 120 at 25 fps, 1.0 s, no sound: a checkerboard of single
    // pixels in two colours (FixtureCheckerColours), the top-left pixel the first colour.
    Checkerboard,
    // AVI, Motion JPEG 160 x 120 at 25 fps, 1.0 s, no sound: every pixel FixtureSolidColour (JPEG
    // coded, so a few steps off).
    SolidColour,
    // WAV, PCM 16-bit stereo 44.1 kHz, 2.0 s, no picture: 440 Hz, left at half of full scale (peak
    // 16384), right at a quarter (peak 8192).
    AudioOnly,
    // WAV, PCM 16-bit mono 44.1 kHz, 1.0 s, no picture: silence but for one 10 ms burst of 1 kHz
    // at half of full scale (peak 16384) from 0.500 s to 0.510 s.
    Burst,
    // AVI, Motion JPEG 160 x 120 at 25 fps, 2.0 s, no sound.
    VideoOnly,
    // The first 40 % of the bytes of MotionJpegAvi (no index, the last frames cut).
    TruncatedAvi,
    // The first half of the bytes of MpegProgram.
    TruncatedMpeg,
    // A short text file named .avi.
    NotAMovie,
    // AVI, Motion JPEG 640 x 480 at 25 fps, 20.0 s, the bars scrolling; PCM 16-bit stereo
    // 44.1 kHz. For benchmarks (about 30 MB, a few seconds to make).
    Benchmark640,
};

Q_DECLARE_METATYPE(FixtureKind)

struct FixtureFacts {
    int width = 0;     // frame size; 0 x 0 without a picture
    int height = 0;
    int lengthMs = 0;  // nominal length; 0 for the broken files
    bool sound = false;
};

// The path of the fixture, made now if it is not in the cache yet; empty (with a warning that says
// why) when it cannot be made.
QString Fixture(FixtureKind kind);
FixtureFacts FixtureInfo(FixtureKind kind);
// Where fixtures are kept: <build>/fixtures.
QString FixtureDirectory();

// The colour of every pixel of SolidColour.
inline const QColor FixtureSolidColour(200, 60, 40);
// The two colours of Checkerboard, the first at the top-left pixel.
inline const QColor FixtureCheckerColours[2] = {QColor(255, 0, 0), QColor(0, 255, 0)};
