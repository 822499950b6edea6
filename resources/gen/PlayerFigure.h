#pragma once
// The little player figure that sheets, cheering pictures, icons and backgrounds share: a chibi
// body (big head, small body) drawn back to front as outlined parts. A pose places the joints in a
// 70 x 70 design frame (a player cell's frame); DrawFigure maps that frame onto any spot and scale.
#include "PixelArt.h"

#include <QPointF>
#include <QString>
#include <vector>

namespace px {

enum class HairStyle { Short, Spiky, Long, Ponytail, Buzz, Curly, Bowl, TwinTails, Bun, Mohawk, Bald };
enum class Headgear { None, Headband, Cap, Horns, CatEars, Ribbon, Helmet };
enum class Expression { Plain, Happy, Determined, Sad, Shout };

// How one individual looks.
struct Look {
    QRgb skin = Rgb(255, 220, 186);
    QRgb hair = Rgb(52, 40, 48);
    HairStyle hairStyle = HairStyle::Short;
    QRgb shirt = Rgb(220, 48, 56);
    QRgb trim = kWhite;               // hem and cuffs
    QRgb stripes = 0;                 // vertical stripes over the shirt; 0 for a plain shirt
    QRgb shorts = kWhite;
    QRgb socks = Rgb(220, 48, 56);
    QRgb boots = Rgb(48, 44, 60);
    QString number;                   // on the chest (3 x 5 digits); empty for none
    QRgb numberColor = kWhite;
    bool longSleeves = false;
    bool gloves = false;              // the keeper's big gloves
    QRgb gloveColor = Rgb(250, 220, 60);
    bool skirt = false;
    Headgear headgear = Headgear::None;
    QRgb headgearColor = Rgb(240, 60, 60);
    bool freckles = false;
    bool glasses = false;
};

// Arm: root is the shoulder, joint the elbow, end the hand. Leg: hip, knee, ankle, and toe the tip
// of the boot.
struct Limb {
    QPointF root, joint, end, toe;
};

// Where an arm is drawn among the parts: behind the body, in front of it (under the head), or on top
// of everything (raised arms beside the head), or not at all (the caller draws it over a prop with
// DrawArm).
enum class Layer { Behind, Front, Top, Hidden };

struct Pose {
    double turn = 1.0;        // 0 faces the viewer, 1 is turned slightly to the right
    QPointF head{35.5, 20.5}; // centre of the head
    QPointF neck{36, 32};     // middle of the shoulder line
    QPointF hip{36, 46};      // middle of the hip line
    Limb farArm, nearArm, farLeg, nearLeg;
    Layer farArmLayer = Layer::Behind, nearArmLayer = Layer::Front;
    Expression face = Expression::Plain;
};

// Standing, turned slightly to the right.
Pose StandPose();
// Running to the right: leaning forward, one knee up, arms swinging.
Pose RunPose();
// Kicking to the right: the kicking leg swung forward, arms out for balance.
Pose KickPose();
// Facing the viewer, arms hanging.
Pose FrontPose();
// Facing the viewer, both arms raised in a V, off the ground.
Pose CheerPose();
// Every point moved by (dx, dy).
Pose Moved(Pose p, double dx, double dy);

// The figure of the pose's design frame, its top-left corner at (x, y), scaled by s.
void DrawFigure(QImage& img, const Look& look, const Pose& pose, double x = 0, double y = 0, double s = 1.0);

// One arm alone (sleeve, hand, glove), in the same frame as DrawFigure.
void DrawArm(QImage& img, const Look& look, const Limb& arm, double x = 0, double y = 0, double s = 1.0);

// A player picture sheet: one 140 x 70 cell per look, the standing frame on the left and the
// moving frame (running, or kicking for every third player) on the right; pure white around them.
QImage PlayerSheet(const std::vector<Look>& players);

// Skin and hair colours the pictures pick from.
namespace skin {
constexpr QRgb Fair = Rgb(255, 224, 196);
constexpr QRgb Light = Rgb(250, 208, 166);
constexpr QRgb Tan = Rgb(222, 164, 112);
constexpr QRgb Brown = Rgb(170, 112, 72);
constexpr QRgb Dark = Rgb(120, 78, 52);
} // namespace skin
namespace hair {
constexpr QRgb Black = Rgb(46, 38, 52);
constexpr QRgb Brown = Rgb(112, 66, 38);
constexpr QRgb Chestnut = Rgb(160, 92, 48);
constexpr QRgb Blonde = Rgb(240, 196, 84);
constexpr QRgb Ginger = Rgb(218, 104, 40);
constexpr QRgb Grey = Rgb(176, 176, 188);
constexpr QRgb Navy = Rgb(48, 60, 120);
constexpr QRgb Pink = Rgb(240, 130, 170);
} // namespace hair

} // namespace px
