// Speed of the editor's drawing engine: a full redraw of 1,000 records (goal: under 10 ms), one
// paint of the view at 975 % (under 16 ms) and one undo push with 100 records (under 1 ms); and of
// its sheets: opening and saving a sheet of nine players (1260 x 70, under 10 ms each) and one
// mouse move while drawing with the widest pen at 975 % (under 16 ms); and one step of turning a
// floating copy of the whole cell at 975 % (under 16 ms), also in the first rotation of a process.
#include "Application.h"
#include "FloatingTransform.h"
#include "ShapeEngine.h"
#include "SheetFile.h"

#include <QTemporaryDir>

#include <QApplication>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <sys/resource.h>

namespace {

void Fill(TShapeEngine& e, int count, unsigned seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int kinds[] = {skRectangle, skEllipse, skLine, skPen, skPen, skFill};
    const TColor colours[] = {clBlack, clRed, 0x00FF00, clBlue, e.OpaqueWhite, 0xB4D2F1};
    for (int i = 0; i < count; ++i) {
        e.ToolKind = e.SavedToolKind = kinds[pick(0, 5)];
        e.StartPoint = QPoint(pick(0, 139), pick(0, 69));
        e.CurrentPoint = QPoint(pick(0, 139), pick(0, 69));
        e.PenSetting = pick(1, 12);
        e.PenStyle = pick(0, 6) / 5; // mostly solid, now and then dashed
        e.CurveSetting = pick(-20, 20);
        e.InProgress.clear();
        if (e.ToolKind == skPen) {
            QPoint p = e.StartPoint;
            for (int k = 0; k < 20; ++k) {
                e.InProgress.push_back(p);
                p += QPoint(pick(-3, 3), pick(-3, 3));
            }
        }
        e.AddShapeRecord(e.BuildShape(colours[pick(0, 5)]));
    }
}

void BM_FullRedraw1000(benchmark::State& state)
{
    TShapeEngine e;
    e.Scale.Zoom = 100;
    Fill(e, 1000, 1);
    for (auto _ : state) {
        e.RenderCanvas(0, TPenMode::pmCopy);
        benchmark::DoNotOptimize(e.Canvas.Image().constBits());
    }
}
BENCHMARK(BM_FullRedraw1000)->Unit(benchmark::kMillisecond);

void BM_ViewPaintAt975(benchmark::State& state)
{
    TShapeEngine e;
    e.Scale.Zoom = 100;
    Fill(e, 50, 2);
    e.Scale.Zoom = 975;
    e.GuideArmed = false;
    QImage view(e.ToView(140), e.ToView(70), QImage::Format_RGB32);
    for (auto _ : state) {
        e.PaintView(view);
        benchmark::DoNotOptimize(view.constBits());
    }
}
BENCHMARK(BM_ViewPaintAt975)->Unit(benchmark::kMillisecond);

void BM_UndoPush100(benchmark::State& state)
{
    TShapeEngine e;
    e.Scale.Zoom = 100;
    Fill(e, 100, 3);
    int flip = 0;
    for (auto _ : state) {
        // Each push carries a change, so none is skipped as equal to the current state.
        e.Shapes[0].Width = 1 + (flip++ % 2);
        e.PushUndo();
    }
}
BENCHMARK(BM_UndoPush100)->Unit(benchmark::kMicrosecond);

// Nine players drawn as the users draw them: outlined bodies with white faces inside, on pure white.
QImage NinePlayers()
{
    TShapeEngine e;
    e.Scale.Zoom = 100;
    QImage sheet(1260, 70, QImage::Format_RGB32);
    for (int k = 0; k < 9; ++k) {
        e.FreeShapeList();
        e.ClearCanvas();
        Fill(e, 30, unsigned(10 + k));
        for (int y = 0; y < 70; ++y)
            std::copy_n(reinterpret_cast<const QRgb*>(e.Canvas.Image().constScanLine(y)), 140,
                        reinterpret_cast<QRgb*>(sheet.scanLine(y)) + 140 * k);
    }
    return sheet;
}

void BM_OpenSheet1260(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(state.range(0) ? QStringLiteral("s.jpg") : QStringLiteral("s.bmp"));
    QString error;
    if (!WriteSheetFile(path, NinePlayers(), RGBColor(255, 254, 254), error)) state.SkipWithError("write");
    for (auto _ : state) {
        QImage img;
        if (!ReadSheetFile(path, img, error)) state.SkipWithError("read");
        MakeInnerWhiteOpaque(img, clOpaqueWhite);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_OpenSheet1260)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SaveSheet1260(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(state.range(0) ? QStringLiteral("s.jpg") : QStringLiteral("s.bmp"));
    const QImage sheet = NinePlayers();
    QString error;
    for (auto _ : state)
        if (!WriteSheetFile(path, sheet, RGBColor(255, 254, 254), error)) state.SkipWithError("write");
}
BENCHMARK(BM_SaveSheet1260)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One pointer move of a pen stroke with width setting 50 (250 canvas pixels) at 975 %: solid, and
// dashed (whose preview is drawn again whole): the last move of a stroke of 200 moves. The point it
// adds is taken off again after each, so that every iteration makes that same move.
void BM_WidestPenMoveAt975(benchmark::State& state)
{
    TShapeEngine e;
    e.Scale.Zoom = 975;
    e.PenSetting = 50;
    e.PenStyle = int(state.range(0));
    e.ToolKind = e.SavedToolKind = skPen;
    QImage view(e.ToView(140), e.ToView(70), QImage::Format_RGB32);
    view.fill(0xFFFFFFFFu);
    e.View = &view;
    const auto along = [](int n) { return QPoint(100 + 5 * n, 100 + (n % 7) * 40); };
    e.MouseDown(TMouseButton::mbLeft, along(0));
    for (int n = 1; n < 200; ++n) e.MouseMove(along(n));
    for (auto _ : state) {
        e.MouseMove(along(200));
        benchmark::DoNotOptimize(view.constBits());
        e.InProgress.pop_back();
    }
}
BENCHMARK(BM_WidestPenMoveAt975)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One step of a rotation by the mouse: a whole cell copied and shown at 975 % (1365 x 683 screen
// pixels) turned from its source (goal: under 16 ms, one frame), at 5 degrees and at 45 degrees,
// where the turned picture is largest.
void BM_RotateCellAt975(benchmark::State& state)
{
    QImage source(1365, 683, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) source.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
    const double angle = double(state.range(0)) * 3.14159265358979323846 / 180;
    for (auto _ : state) benchmark::DoNotOptimize(RotateBitmap(source, angle, clWhite));
}
BENCHMARK(BM_RotateCellAt975)->Arg(5)->Arg(45)->ArgName("degrees")->Unit(benchmark::kMillisecond);

// The first rotation of a process, which no iteration above sees again: each iteration runs this
// program afresh with kFirstRotation. The process shows a whole cell copied at 975 %, makes ready
// for its rotation as showing the rotation handles does, takes its rotation source as a press on a
// handle does, and turns it by ten steps of 5 degrees as the first drag does. The time is the mean
// step; "slowest_ms" is the slowest step, "faults" the page faults (fresh memory touched) of a
// step, "handles_ms" and "press_ms" the two before, and "settled_ms" the mean step when the same
// ten steps are turned again in that process.
constexpr char kFirstRotation[] = "--first-rotation";

struct TStepTimes {
    double MeanMs = 0, SlowestMs = 0, Faults = 0;
};

long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

TStepTimes TurnTenSteps(TFloatingImage& copy, QPoint centre)
{
    TStepTimes t;
    copy.Angle = 0;
    for (int step = 0; step < 10; ++step) {
        const long faults = minorFaults();
        const auto start = std::chrono::steady_clock::now();
        copy.Angle += 5 * 3.14159265358979323846 / 180;
        ShowTurned(copy, centre, clWhite);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        t.MeanMs += ms / 10;
        t.SlowestMs = std::max(t.SlowestMs, ms);
        t.Faults += double(minorFaults() - faults) / 10;
    }
    return t;
}

int FirstRotationProcess(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget scrollBox;
    TFrameImage frame(&scrollBox, QStringLiteral("frame"));
    TFloatingImage copy(&scrollBox, QStringLiteral("copy"), 1, &frame);
    TShapeEngine e;
    e.Scale.Zoom = 100;
    Fill(e, 30, 20);
    copy.SetPicture(e.Canvas.Image());
    copy.SetBounds({0, 0, 1365, 683});
    const auto msSince = [](std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    const auto handles = std::chrono::steady_clock::now();
    PrepareRotation(copy);
    const double handlesMs = msSince(handles);
    const auto press = std::chrono::steady_clock::now();
    TakeRotationSource(copy);
    const double pressMs = msSince(press);
    const TStepTimes first = TurnTenSteps(copy, QPoint(682, 341));
    const TStepTimes settled = TurnTenSteps(copy, QPoint(682, 341));
    std::printf("%f %f %f %f %f %f\n", first.MeanMs, first.SlowestMs, first.Faults, handlesMs, pressMs, settled.MeanMs);
    return 0;
}

void BM_FirstRotationOfProcess(benchmark::State& state)
{
    double slowest = 0, faults = 0, handles = 0, press = 0, settled = 0;
    for (auto _ : state) {
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kFirstRotation)});
        TStepTimes first;
        double handlesMs = 0, pressMs = 0, settledMs = 0;
        if (!process.waitForFinished(60000) || process.exitCode() != 0 ||
            std::sscanf(process.readAllStandardOutput().constData(), "%lf %lf %lf %lf %lf %lf", &first.MeanMs,
                        &first.SlowestMs, &first.Faults, &handlesMs, &pressMs, &settledMs) != 6) {
            state.SkipWithError("the rotating process failed");
            break;
        }
        state.SetIterationTime(first.MeanMs / 1000);
        slowest += first.SlowestMs;
        faults += first.Faults;
        handles += handlesMs;
        press += pressMs;
        settled += settledMs;
    }
    for (auto [name, sum] : {std::pair{"slowest_ms", slowest}, {"faults", faults}, {"handles_ms", handles},
                             {"press_ms", press}, {"settled_ms", settled}})
        state.counters[name] = benchmark::Counter(sum, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FirstRotationOfProcess)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    if (argc == 2 && std::strcmp(argv[1], kFirstRotation) == 0) return FirstRotationProcess(argc, argv);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
