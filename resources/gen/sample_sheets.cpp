// The sample sheets in the data folder: a yellow-and-green team for the user's side, a purple
// striped team for the opponent, and a third sheet of odd characters that play the seeker in
// hide-and-seek.
#include "PlayerFigure.h"
#include "ResGen.h"

using namespace px;

namespace {

Look kit(QString number, QRgb skinColour, QRgb hairColour, HairStyle style, QRgb shirt, QRgb trim, QRgb shorts, QRgb socks,
         QRgb boots, QRgb numberColour)
{
    Look l;
    l.skin = skinColour;
    l.hair = hairColour;
    l.hairStyle = style;
    l.shirt = shirt;
    l.trim = trim;
    l.shorts = shorts;
    l.socks = socks;
    l.boots = boots;
    l.number = std::move(number);
    l.numberColor = numberColour;
    return l;
}

std::vector<Look> sunflowers()
{
    const QRgb yellow = Rgb(250, 214, 52), green = Rgb(30, 150, 80), boots = Rgb(40, 40, 56);
    auto p = [&](QString n, QRgb s, QRgb h, HairStyle st) { return kit(std::move(n), s, h, st, yellow, green, green, kWhite, boots, green); };
    std::vector<Look> t;
    Look keeper = kit("1", skin::Light, hair::Brown, HairStyle::Short, Rgb(90, 90, 104), yellow, Rgb(40, 40, 56), Rgb(90, 90, 104), boots, yellow);
    keeper.longSleeves = true;
    keeper.gloves = true;
    keeper.gloveColor = Rgb(250, 120, 40);
    t.push_back(keeper);
    t.push_back(p("3", skin::Brown, hair::Black, HairStyle::Curly));
    Look girl = p("4", skin::Fair, hair::Ginger, HairStyle::TwinTails);
    girl.headgearColor = Rgb(60, 170, 250);
    t.push_back(girl);
    t.push_back(p("5", skin::Tan, hair::Black, HairStyle::Spiky));
    Look capped = p("7", skin::Light, hair::Brown, HairStyle::Short);
    capped.headgear = Headgear::Cap;
    capped.headgearColor = green;
    t.push_back(capped);
    t.push_back(p("8", skin::Fair, hair::Blonde, HairStyle::Bowl));
    Look tall = p("9", skin::Dark, hair::Black, HairStyle::Mohawk);
    t.push_back(tall);
    Look p10 = p("10", skin::Light, hair::Chestnut, HairStyle::Ponytail);
    p10.headgearColor = Rgb(230, 60, 60);
    t.push_back(p10);
    Look p11 = p("11", skin::Fair, hair::Black, HairStyle::Short);
    p11.glasses = true;
    t.push_back(p11);
    return t;
}

std::vector<Look> grapes()
{
    const QRgb purple = Rgb(124, 60, 176), lilac = Rgb(196, 156, 236), black = Rgb(40, 34, 50);
    auto p = [&](QString n, QRgb s, QRgb h, HairStyle st) {
        Look l = kit(std::move(n), s, h, st, purple, kWhite, black, purple, Rgb(236, 80, 80), kWhite);
        l.stripes = lilac;
        return l;
    };
    std::vector<Look> t;
    Look keeper = kit("1", skin::Fair, hair::Black, HairStyle::Spiky, Rgb(60, 200, 200), black, black, Rgb(60, 200, 200), black, black);
    keeper.longSleeves = true;
    keeper.gloves = true;
    keeper.gloveColor = kWhite;
    t.push_back(keeper);
    t.push_back(p("2", skin::Tan, hair::Brown, HairStyle::Buzz));
    Look p3 = p("3", skin::Light, hair::Pink, HairStyle::Long);
    t.push_back(p3);
    t.push_back(p("5", skin::Fair, hair::Grey, HairStyle::Spiky));
    Look p6 = p("6", skin::Brown, hair::Black, HairStyle::Bun);
    t.push_back(p6);
    Look p8 = p("8", skin::Light, hair::Black, HairStyle::Short);
    p8.headgear = Headgear::Headband;
    p8.headgearColor = Rgb(236, 80, 80);
    t.push_back(p8);
    t.push_back(p("9", skin::Dark, hair::Black, HairStyle::Curly));
    Look p14 = p("14", skin::Fair, hair::Blonde, HairStyle::Short);
    p14.freckles = true;
    t.push_back(p14);
    return t;
}

std::vector<Look> characters()
{
    std::vector<Look> t;
    // A little oni in a tiger-striped shirt.
    Look oni = kit("", Rgb(240, 110, 90), Rgb(60, 48, 40), HairStyle::Curly, Rgb(250, 196, 40), Rgb(40, 34, 50), Rgb(40, 34, 50),
                   Rgb(240, 110, 90), Rgb(120, 80, 50), kWhite);
    oni.stripes = Rgb(52, 40, 40);
    oni.headgear = Headgear::Horns;
    t.push_back(oni);
    // A cat-eared kid.
    Look cat = kit("", skin::Fair, Rgb(250, 160, 60), HairStyle::Short, Rgb(250, 250, 250), Rgb(250, 160, 60), Rgb(250, 160, 60),
                   kWhite, Rgb(250, 160, 60), kWhite);
    cat.headgear = Headgear::CatEars;
    t.push_back(cat);
    // A tin robot.
    Look robot = kit("", Rgb(190, 200, 214), Rgb(190, 200, 214), HairStyle::Bald, Rgb(120, 150, 190), Rgb(250, 214, 64),
                     Rgb(90, 110, 150), Rgb(190, 200, 214), Rgb(90, 110, 150), kWhite);
    robot.headgear = Headgear::Helmet;
    robot.headgearColor = Rgb(150, 170, 200);
    robot.longSleeves = true;
    t.push_back(robot);
    // The referee.
    Look ref = kit("", skin::Light, hair::Black, HairStyle::Buzz, Rgb(44, 44, 52), kWhite, Rgb(44, 44, 52), Rgb(44, 44, 52),
                   Rgb(40, 40, 48), kWhite);
    ref.stripes = Rgb(70, 70, 84);
    t.push_back(ref);
    // The old coach in his tracksuit.
    Look coach = kit("", skin::Light, hair::Grey, HairStyle::Bowl, Rgb(40, 110, 200), kWhite, Rgb(40, 110, 200), Rgb(40, 110, 200),
                     kWhite, kWhite);
    coach.longSleeves = true;
    coach.glasses = true;
    t.push_back(coach);
    // A girl with a big ribbon.
    Look ribbon = kit("", skin::Fair, hair::Chestnut, HairStyle::Long, Rgb(250, 150, 190), kWhite, Rgb(250, 110, 160), kWhite,
                      Rgb(200, 60, 100), kWhite);
    ribbon.skirt = true;
    ribbon.headgear = Headgear::Ribbon;
    ribbon.headgearColor = Rgb(230, 50, 90);
    t.push_back(ribbon);
    return t;
}

DataFileRegistrar sample11("ゲームの選手画像/サンプル選手画像11.bmp", [] { return Bmp24Of(PlayerSheet(sunflowers())); });
DataFileRegistrar sample12("ゲームの選手画像/サンプル選手画像12.bmp", [] { return Bmp24Of(PlayerSheet(grapes())); });
DataFileRegistrar sample03("ゲームの選手画像/サンプル選手画像03.bmp", [] { return Bmp24Of(PlayerSheet(characters())); });

} // namespace
