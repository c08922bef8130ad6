// The pictures of the bit button's predefined kinds: 16-colour bitmaps
// holding a normal and a disabled image side by side, made once on first use.
#include "controls/KindGlyphs.h"

#include "controls/PixelArt.h"

#include <map>

namespace {

QImage drawKindGlyph(const QString& name)
{
    if (name == QLatin1String("BBOK")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            "..................",
            "..............l...",
            ".............lgk..",
            "............lgk...",
            "...........lgk....",
            "..........lgk.....",
            "..l......lgk......",
            ".lgk....lgk.......",
            "..lgk..lgk........",
            "...lgklgk.........",
            "....lggk..........",
            ".....lk...........",
            "..................",
            "..................",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBCANCEL")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            "...rr.......rr....",
            "..rrrm.....rrrm...",
            "...rrrm...rrrm....",
            "....rrrm.rrrm.....",
            ".....rrrrrrm......",
            "......rrrrm.......",
            ".......rrm........",
            "......rrrrm.......",
            ".....rrrmrrm......",
            "....rrrm..rrm.....",
            "...rrrm....rrm....",
            "..rrrm......rrm...",
            "...mm........mm...",
            "..................",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBHELP")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            ".......bbbbb......",
            "......bbnnnbbn....",
            ".....bbn....bbn...",
            ".....bbn....bbn...",
            ".......n....bbn...",
            "...........bbn....",
            "..........bbn.....",
            ".........bbn......",
            "........bbn.......",
            "........bbn.......",
            ".........n........",
            "..................",
            "........bb........",
            "........bbn.......",
            ".........n........",
            "..................",
        }));
    }
    if (name == QLatin1String("BBYES")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            "..................",
            "..................",
            ".............ll...",
            "............llg...",
            "...........llg....",
            "..........llg.....",
            "..ll.....llg......",
            "..lll...llg.......",
            "...lll.llg........",
            "....llllg.........",
            ".....llg..........",
            "......g...........",
            "..................",
            "..................",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBNO")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "......rrrrrr......",
            "....rrrrrrrrrr....",
            "...rrrm....rrrr...",
            "..rrm.....rrrmrr..",
            "..rrm....rrrm.rr..",
            ".rrm....rrrm...rr.",
            ".rrm...rrrm....rr.",
            ".rrm..rrrm.....rr.",
            ".rrm.rrrm......rr.",
            ".rrmrrrm.......rr.",
            "..rrrrm.......rr..",
            "..rrrm........rr..",
            "...rrrr....rrrr...",
            "....rrrrrrrrrr....",
            "......rrrrrr......",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBCLOSE")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..kkkkkkkkkkkkk...",
            "..kdddddddddddk...",
            "..kd.kkk.....dk...",
            "..kd.kyyk....dk...",
            "..kd.kyyyk...dk...",
            "..kd.kyyyk...dk...",
            "..kd.kyyyk...dk...",
            "..kd.kyykyk..dk...",
            "..kd.kyyyk...dk...",
            "..kd.kyyyk...dk...",
            "..kd.kyyyk...dk...",
            "..kd.kyyyk...dk...",
            "..kd..kyyk...dk...",
            "..kd...kkk...dk...",
            "..kdddddddddddk...",
            "..kkkkkkkkkkkkk...",
            "..................",
        }));
    }
    if (name == QLatin1String("BBABORT")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "......mmmmmm......",
            ".....mrrrrrrm.....",
            "....mrrrrrrrrm....",
            "...mrrwrrrrwrrm...",
            "..mrrwwwrrwwwrrm..",
            "..mrrrwwwwwwrrrm..",
            "..mrrrrwwwwrrrrm..",
            "..mrrrrwwwwrrrrm..",
            "..mrrrwwwwwwrrrm..",
            "..mrrwwwrrwwwrrm..",
            "...mrrwrrrrwrrm...",
            "....mrrrrrrrrm....",
            ".....mrrrrrrm.....",
            "......mmmmmm......",
            "..................",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBRETRY")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            ".......ggggg......",
            ".....gglllllgg....",
            "....gll.....llg.g.",
            "...gl.........lgg.",
            "...gl........lggg.",
            "..gl........ggggg.",
            "..gl..............",
            "..gl..............",
            "..gl.........lg...",
            "...gl.......lg....",
            "...ggl.....lg.....",
            "...gggl...lg......",
            "..gggg.lllg.......",
            ".........g........",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBIGNORE")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            "..................",
            "......nnnnn.......",
            "....nnbbbbbnn.....",
            "...nbb.....bbn....",
            "..nb.........bn...",
            "..nb..........b...",
            "..............b...",
            "............bbbbb.",
            ".............bbb..",
            "..............b...",
            "..................",
            ".kkkkk......kkkkk.",
            ".kkkkk......kkkkk.",
            "..................",
            "..................",
            "..................",
        }));
    }
    if (name == QLatin1String("BBALL")) {
        return pixelart::withDisabledImage(pixelart::fromRows({
            "..................",
            "..................",
            "..................",
            "...............l..",
            "..............lgk.",
            ".............lgk..",
            "............lgk...",
            ".......l...lgk....",
            "......lgk.lgk.....",
            "..l..lgk.lgk......",
            ".lgklgk.lgk.......",
            "..lggk.lgk........",
            "...lk.lgk.........",
            ".....lgk..........",
            "......lk..........",
            "..................",
            "..................",
            "..................",
            "..................",
        }));
    }
    return {};
}

} // namespace

QImage kindGlyph(const QString& name)
{
    // Kept to the end of the program: every button of a kind shares its picture.
    static std::map<QString, QImage> made;
    auto found = made.find(name);
    if (found == made.end())
        found = made.emplace(name, drawKindGlyph(name)).first;
    return found->second;
}
