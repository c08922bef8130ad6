// Finding gadgets by caption while the user types on the launcher screen:
// captions and typed text are compared without accelerator marks, accents
// or letter case, and matches are ranked: a caption that starts with the
// text first, then one with a word that starts with it, then any other.
//
// The finding is spread over four files: this one matches and ranks,
// launcher/MenuWalk reads the menus reachable from the start menu,
// launcher/FindMarks paints the marks on the launcher, and launcher/myver
// takes the keys and activates what is found.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace finding {

enum class MatchRank { CaptionStart, WordStart, Inside };

// Text as it is compared: accents taken off, in one letter case.
QString folded(const QString& text);

// How `caption` matches `typed`, both folded; none when it does not, or when
// `typed` is empty.
std::optional<MatchRank> rankOf(const QString& caption, const QString& typed);

struct Found {
    int menu; // index of the menu in the finder's list; 0 is the current menu
    int gadget; // 1 to 56
    MatchRank rank;

    bool operator==(const Found&) const = default;
};

class GadgetFinder final {
public:
    // The captions of gadgets 1 to 56 of each menu, the current menu first.
    explicit GadgetFinder(const std::vector<QStringList>& menus);

    // Every gadget whose caption matches `typed`: by rank, then by menu,
    // then by gadget number.
    std::vector<Found> find(const QString& typed) const;

private:
    std::vector<QStringList> folded_;
};

} // namespace finding
