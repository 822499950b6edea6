// The two built-in team sheets: the user's team in red shirts and white shorts, the opponent in
// blue shirts and navy shorts. Nine individuals each; player 0 is the keeper.
#include "PlayerFigure.h"
#include "ResGen.h"

using namespace px;

namespace {

Look redPlayer(QString number, QRgb skinColour, QRgb hairColour, HairStyle style)
{
    Look l;
    l.skin = skinColour;
    l.hair = hairColour;
    l.hairStyle = style;
    l.shirt = Rgb(226, 44, 52);
    l.trim = kWhite;
    l.shorts = kWhite;
    l.socks = Rgb(226, 44, 52);
    l.boots = Rgb(44, 40, 56);
    l.number = std::move(number);
    l.numberColor = kWhite;
    return l;
}

Look bluePlayer(QString number, QRgb skinColour, QRgb hairColour, HairStyle style)
{
    Look l;
    l.skin = skinColour;
    l.hair = hairColour;
    l.hairStyle = style;
    l.shirt = Rgb(40, 96, 220);
    l.trim = Rgb(250, 214, 64);
    l.shorts = Rgb(32, 40, 92);
    l.socks = Rgb(40, 96, 220);
    l.boots = Rgb(236, 236, 236);
    l.number = std::move(number);
    l.numberColor = Rgb(250, 214, 64);
    return l;
}

std::vector<Look> redTeam()
{
    std::vector<Look> t;
    Look keeper = redPlayer("1", skin::Light, hair::Black, HairStyle::Short);
    keeper.shirt = Rgb(60, 190, 90);
    keeper.trim = Rgb(20, 90, 50);
    keeper.shorts = Rgb(40, 44, 60);
    keeper.socks = Rgb(60, 190, 90);
    keeper.longSleeves = true;
    keeper.gloves = true;
    keeper.headgear = Headgear::Cap;
    keeper.headgearColor = Rgb(40, 44, 60);
    t.push_back(keeper);
    t.push_back(redPlayer("2", skin::Fair, hair::Brown, HairStyle::Spiky));
    Look p3 = redPlayer("3", skin::Light, hair::Black, HairStyle::Ponytail);
    p3.headgearColor = Rgb(250, 214, 64);
    t.push_back(p3);
    t.push_back(redPlayer("4", skin::Tan, hair::Black, HairStyle::Buzz));
    t.push_back(redPlayer("5", skin::Dark, hair::Black, HairStyle::Curly));
    Look p6 = redPlayer("6", skin::Fair, hair::Blonde, HairStyle::Long);
    t.push_back(p6);
    Look p7 = redPlayer("7", skin::Light, hair::Ginger, HairStyle::Bowl);
    p7.freckles = true;
    t.push_back(p7);
    Look p8 = redPlayer("8", skin::Brown, hair::Black, HairStyle::Spiky);
    p8.headgear = Headgear::Headband;
    p8.headgearColor = kWhite;
    t.push_back(p8);
    Look p10 = redPlayer("10", skin::Fair, hair::Chestnut, HairStyle::Short);
    p10.headgear = Headgear::Headband;
    p10.headgearColor = Rgb(250, 214, 64);
    t.push_back(p10);
    return t;
}

std::vector<Look> blueTeam()
{
    std::vector<Look> t;
    Look keeper = bluePlayer("1", skin::Tan, hair::Black, HairStyle::Mohawk);
    keeper.shirt = Rgb(250, 160, 40);
    keeper.trim = Rgb(40, 44, 60);
    keeper.shorts = Rgb(40, 44, 60);
    keeper.socks = Rgb(250, 160, 40);
    keeper.numberColor = Rgb(40, 44, 60);
    keeper.longSleeves = true;
    keeper.gloves = true;
    keeper.gloveColor = Rgb(120, 230, 90);
    t.push_back(keeper);
    t.push_back(bluePlayer("2", skin::Light, hair::Brown, HairStyle::Short));
    Look p3 = bluePlayer("3", skin::Fair, hair::Blonde, HairStyle::Spiky);
    t.push_back(p3);
    Look p4 = bluePlayer("4", skin::Light, hair::Black, HairStyle::TwinTails);
    p4.headgearColor = Rgb(250, 214, 64);
    t.push_back(p4);
    t.push_back(bluePlayer("5", skin::Dark, hair::Black, HairStyle::Buzz));
    Look p6 = bluePlayer("6", skin::Fair, hair::Grey, HairStyle::Bowl);
    p6.glasses = true;
    t.push_back(p6);
    t.push_back(bluePlayer("7", skin::Tan, hair::Chestnut, HairStyle::Curly));
    Look p9 = bluePlayer("9", skin::Light, hair::Navy, HairStyle::Bun);
    t.push_back(p9);
    Look p11 = bluePlayer("11", skin::Brown, hair::Black, HairStyle::Short);
    p11.headgear = Headgear::Headband;
    p11.headgearColor = Rgb(250, 214, 64);
    t.push_back(p11);
    return t;
}

ResRegistrar player0("bitmaps/PLAYER0.png", ResProgram::Game, [] { return PngOf(PlayerSheet(redTeam())); });
ResRegistrar player1("bitmaps/PLAYER1.png", ResProgram::Game, [] { return PngOf(PlayerSheet(blueTeam())); });

} // namespace
