#include "fixtures.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtDebug>

namespace {

// How one fixture is made: a command line whose "{out}" is the file to write, or a cut of another
// fixture, or a fixed text.
struct Recipe {
    const char* name; // file name in the cache, before the recipe's hash
    const char* extension;
    FixtureFacts facts;
    const char* program = nullptr; // "gst-launch-1.0" or "ffmpeg"
    const char* arguments = nullptr;
    FixtureKind cutFrom = FixtureKind::NotAMovie;
    double cutFraction = 0; // > 0: the first fraction of cutFrom's bytes
    const char* text = nullptr;
};

// Pieces of GStreamer pipelines.
#define BARS(w, h, fps, frames)                                                                    \
    "videotestsrc num-buffers=" #frames " pattern=smpte ! video/x-raw,width=" #w ",height=" #h     \
    ",framerate=" fps " ! videoconvert"
#define TONE_44K(buffers)                                                                          \
    "audiotestsrc num-buffers=" #buffers " samplesperbuffer=441 freq=440 volume=0.5"              \
    " ! audio/x-raw,format=S16LE,rate=44100,channels=2"
// FFmpeg inputs.
#define FF_BARS(size, rate, seconds)                                                               \
    "-f lavfi -i smptebars=size=" size ":rate=" rate ":duration=" seconds
#define FF_TONE(rate, seconds)                                                                     \
    "-f lavfi -i aevalsrc=0.5*sin(2*PI*440*t):s=" rate ":d=" seconds
#define FF_TONE_STEREO(rate, seconds)                                                              \
    "-f lavfi -i aevalsrc=0.5*sin(2*PI*440*t)|0.5*sin(2*PI*440*t):s=" rate ":d=" seconds

const Recipe& recipeOf(FixtureKind kind) {
    static const Recipe recipes[] = {
        {"mjpeg", "avi", {160, 120, 2000, true}, "gst-launch-1.0",
         BARS(160, 120, "25/1", 50) " ! jpegenc ! avimux name=m ! filesink location={out} " TONE_44K(
             200) " ! m."},
        {"photojpeg", "mov", {176, 144, 2000, true}, "gst-launch-1.0",
         BARS(176, 144, "25/1", 50) " ! jpegenc ! qtmux name=m ! filesink location={out} " TONE_44K(
             200) " ! m."},
        {"mpeg2-ps", "mpg", {352, 240, 2000, true}, "gst-launch-1.0",
         BARS(352, 240, "30000/1001", 60) " ! mpeg2enc format=3 ! avmux_mpeg name=m ! filesink "
                                          "location={out} " TONE_44K(200) " ! avenc_mp2 ! m."},
        {"mpeg1", "mpg", {320, 240, 2000, true}, "gst-launch-1.0",
         BARS(320, 240, "25/1", 50) " ! mpeg2enc format=0 ! avmux_mpeg name=m ! filesink "
                                    "location={out} " TONE_44K(200) " ! avenc_mp2 ! m."},
        {"cinepak", "avi", {160, 120, 2000, true}, "ffmpeg",
         FF_BARS("160x120", "15", "2") " " FF_TONE("22050", "2") " -c:v cinepak -c:a pcm_u8 {out}"},
        {"msvideo1", "avi", {160, 120, 2000, true}, "ffmpeg",
         FF_BARS("160x120", "15", "2") " " FF_TONE("22050", "2") " -c:v msvideo1 -c:a pcm_u8 {out}"},
        {"sorenson", "mov", {160, 120, 2000, true}, "ffmpeg",
         FF_BARS("160x120", "15", "2") " " FF_TONE_STEREO("22050", "2") " -c:v svq1 -c:a pcm_s16be "
                                                                        "{out}"},
        {"qtrle", "mov", {160, 120, 2000, true}, "ffmpeg",
         FF_BARS("160x120", "15", "2") " " FF_TONE_STEREO("22050", "2") " -c:v qtrle -c:a "
                                                                        "pcm_s16be {out}"},
        {"checkerboard", "mov", {160, 120, 1000, false}, "gst-launch-1.0",
         "videotestsrc num-buffers=25 pattern=checkers-1 ! "
         "video/x-raw,format=RGB,width=160,height=120,framerate=25/1 ! pngenc ! qtmux ! filesink "
         "location={out}"},
        {"solid", "avi", {160, 120, 1000, false}, "gst-launch-1.0",
         "videotestsrc num-buffers=25 pattern=solid-color foreground-color=0xffc83c28 ! "
         "video/x-raw,width=160,height=120,framerate=25/1 ! jpegenc quality=95 ! avimux ! filesink "
         "location={out}"},
        {"audio-only", "wav", {0, 0, 2000, true}, "ffmpeg",
         "-f lavfi -i aevalsrc=0.5*sin(2*PI*440*t)|0.25*sin(2*PI*440*t):s=44100:d=2 -c:a pcm_s16le "
         "{out}"},
        {"burst", "wav", {0, 0, 1000, true}, "ffmpeg",
         "-f lavfi -i aevalsrc=if(between(t\\,0.5\\,0.51)\\,0.5*sin(2*PI*1000*t)\\,0):s=44100:d=1 "
         "-c:a pcm_s16le {out}"},
        {"video-only", "avi", {160, 120, 2000, false}, "gst-launch-1.0",
         BARS(160, 120, "25/1", 50) " ! jpegenc ! avimux ! filesink location={out}"},
        {"truncated", "avi", {}, nullptr, nullptr, FixtureKind::MotionJpegAvi, 0.4},
        {"truncated", "mpg", {}, nullptr, nullptr, FixtureKind::MpegProgram, 0.5},
        {"not-a-movie", "avi", {}, nullptr, nullptr, FixtureKind::NotAMovie, 0,
         "This is a text file, not a movie.\n"},
        {"bench640", "avi", {640, 480, 20000, true}, "gst-launch-1.0",
         "videotestsrc num-buffers=500 pattern=smpte horizontal-speed=4 ! "
         "video/x-raw,width=640,height=480,framerate=25/1 ! videoconvert ! jpegenc ! avimux "
         "name=m ! filesink location={out} " TONE_44K(2000) " ! m."},
    };
    return recipes[static_cast<int>(kind)];
}

QString cachedPath(const Recipe& recipe) {
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(QByteArray(recipe.program ? recipe.program : ""));
    hash.addData(QByteArray(recipe.arguments ? recipe.arguments : ""));
    hash.addData(QByteArray(recipe.text ? recipe.text : ""));
    hash.addData(QByteArray::number(recipe.cutFraction));
    if (recipe.cutFraction > 0)
        hash.addData(Fixture(recipe.cutFrom).toUtf8());
    const QString tag = QString::fromLatin1(hash.result().toHex().left(8));
    return QStringLiteral("%1/%2-%3.%4")
        .arg(FixtureDirectory(), QLatin1String(recipe.name), tag,
             QLatin1String(recipe.extension));
}

bool runCommand(const Recipe& recipe, const QString& out) {
    QStringList arguments;
    const QStringList words =
        QString::fromLatin1(recipe.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words)
        arguments << QString(word).replace(QStringLiteral("{out}"), out);
    if (QLatin1String(recipe.program) == QLatin1String("ffmpeg"))
        arguments = QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                                QStringLiteral("error"), QStringLiteral("-y")} +
                    arguments;
    else
        arguments.prepend(QStringLiteral("-q"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromLatin1(recipe.program), arguments);
    if (!process.waitForStarted(10000)) {
        qWarning("fixture %s: %s cannot be started (scripts/install-deps installs it)",
                 recipe.name, recipe.program);
        return false;
    }
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        qWarning("fixture %s: %s failed:\n%s", recipe.name, recipe.program,
                 process.readAll().constData());
        return false;
    }
    return true;
}

bool writeCut(const Recipe& recipe, const QString& out) {
    if (recipe.text) {
        QFile file(out);
        return file.open(QIODevice::WriteOnly) && file.write(recipe.text) > 0;
    }
    const QString source = Fixture(recipe.cutFrom);
    QFile in(source);
    if (source.isEmpty() || !in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    QFile file(out);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.left(static_cast<qsizetype>(bytes.size() * recipe.cutFraction))) > 0;
}

} // namespace

QString FixtureDirectory() {
    return QStringLiteral(KESTRUNE_BUILD_DIR "/fixtures");
}

FixtureFacts FixtureInfo(FixtureKind kind) {
    return recipeOf(kind).facts;
}

QString Fixture(FixtureKind kind) {
    const Recipe& recipe = recipeOf(kind);
    const QString path = cachedPath(recipe);
    if (QFileInfo(path).size() > 0)
        return path;
    QDir().mkpath(FixtureDirectory());
    // Made under a private name and renamed, so tests running at once never see half a file.
    const QFileInfo target(path);
    const QString partial = QStringLiteral("%1/.part-%2-%3")
                                .arg(target.absolutePath())
                                .arg(QCoreApplication::applicationPid())
                                .arg(target.fileName());
    QFile::remove(partial);
    const bool made = recipe.program ? runCommand(recipe, partial) : writeCut(recipe, partial);
    if (!made || QFileInfo(partial).size() == 0) {
        QFile::remove(partial);
        qWarning("fixture %s could not be made", recipe.name);
        return QString();
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path) && QFileInfo(path).size() == 0) {
        QFile::remove(partial);
        return QString();
    }
    QFile::remove(partial);
    return path;
}
