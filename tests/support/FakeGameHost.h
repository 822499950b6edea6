#pragma once
// A games' host without the menu form: the random service on seeded generators, switches a test sets,
// the built-in team sheets, and every result report and help request recorded.
#include "GameHost.h"
#include <QStringList>
#include <cstdint>
#include <vector>

class FakeGameHost : public TGameHost {
public:
    // Seeds both generators; becomes the program's host until destroyed.
    explicit FakeGameHost(std::uint32_t seed = 1);
    ~FakeGameHost() override;

    QWidget* OwnerWindow() override { return nullptr; }
    int GameRandom(int ignored, int n) override;
    void SetRandomBlock(int block) override { randomBlock = block; }
    bool SoundEffectsOff() const override { return soundOff; }
    bool CheersOff() const override { return cheersOff; }
    bool AutoProgress() const override { return autoProgress; }
    void SetAutoProgress(bool on) override { autoProgress = on; }
    bool SetUpOpenStart() const override { return setUpOpenStart; }
    bool ManualPlay() const override { return manualPlay; }
    void SetManualPlay(bool on) override { manualPlay = on; }
    void SetOptionIndex(quint8 index) override { optionIndex = index; }
    int MatchLength() const override { return matchLength; }
    QString SeriesName() const override { return QStringLiteral("ぱにもこ"); }
    QString PlayerName() const override { return QStringLiteral("もこ太郎"); }
    QString FontName() const override { return QStringLiteral("ＭＳ ゴシック"); }
    QString DataDir() const override { return dataDir; }
    QString ThirdPicFile() const override { return thirdPicFile; }
    QString MyPicFile() const override { return mySheetFile; }
    QString AitePicFile() const override { return aiteSheetFile; }
    const TImageList& CheerFigures() const override { return figures; }
    void LoadTeamPictures(TBitmap& mySheet, TBitmap& aiteSheet) override;
    quint16 GetModeBits() const override;
    void ShowGameResult(quint16 code) override;
    void SetResultPlayers(int myIndex, int aiteIndex) override;
    void AdjustFormTop(QWidget*) override {}
    void ShowHelp(QWidget*) override { ++helpShown; }

    // What a test sets.
    bool soundOff = false, cheersOff = false, autoProgress = false, setUpOpenStart = false;
    bool manualPlay = true;
    int matchLength = 1;
    quint8 optionIndex = 0;
    int randomBlock = 0;
    QString dataDir, thirdPicFile;
    QString mySheetFile, aiteSheetFile; // empty: the built-in sheets
    TImageList figures{70, 70};

    // What the games did.
    int randomCount = 0;
    std::vector<quint16> results;
    int resultPlayers[2] = {-1, -1};
    int helpShown = 0;
};
