#pragma once
// The build-time generator of every picture, sound and cursor of the two programs. Each source file
// in this folder registers what it makes; main() writes them out with the resource lists.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

enum class ResProgram { Game, Editor, Both };

struct ResEntry {
    QString path;          // inside the resources: "bitmaps/PLAYER0.png", "sounds/KICK.wav", ...
    ResProgram program;
    std::function<QByteArray()> make;
};

struct DataFileEntry {
    QString path;          // inside the data folder 画像と音声: "ゲームの選手画像/サンプル選手画像11.bmp"
    std::function<QByteArray()> make;
};

std::vector<ResEntry>& ResEntries();
std::vector<DataFileEntry>& DataFileEntries();

// Registers at start-up: `static ResRegistrar r("bitmaps/GOALBMP.png", ResProgram::Game, [] { ... });`
struct ResRegistrar {
    ResRegistrar(const char* path, ResProgram program, std::function<QByteArray()> make);
};
struct DataFileRegistrar {
    DataFileRegistrar(const char* path, std::function<QByteArray()> make);
};

QByteArray PngOf(const QImage& img);
// A 24-bit bottom-up Windows bitmap file.
QByteArray Bmp24Of(const QImage& img);
// A mono or stereo 16-bit PCM WAVE file.
QByteArray WavOf(const std::vector<qint16>& samples, int sampleRate, int channels = 1);
