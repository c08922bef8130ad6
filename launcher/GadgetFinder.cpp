// Finding gadgets by caption.
#include "launcher/GadgetFinder.h"

#include "controls/AccessibleControls.h"

#include <algorithm>

namespace finding {

QString folded(const QString& text)
{
    // Compatibility decomposition parts a letter from its accents (and
    // ligatures into their letters); the accents are then left out.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (!c.isMark())
            bare.append(c);
    return bare.toCaseFolded();
}

std::optional<MatchRank> rankOf(const QString& caption, const QString& typed)
{
    if (typed.isEmpty())
        return std::nullopt;
    std::optional<MatchRank> best;
    for (qsizetype at = caption.indexOf(typed); at >= 0; at = caption.indexOf(typed, at + 1)) {
        if (at == 0)
            return MatchRank::CaptionStart;
        if (!caption[at - 1].isLetterOrNumber() && caption[at].isLetterOrNumber())
            return MatchRank::WordStart;
        best = MatchRank::Inside;
    }
    return best;
}

GadgetFinder::GadgetFinder(const std::vector<QStringList>& menus)
{
    folded_.reserve(menus.size());
    for (const QStringList& captions : menus) {
        QStringList menu;
        menu.reserve(captions.size());
        for (const QString& caption : captions)
            menu.append(
                folded(accessibility::withoutAccelerator(caption)).trimmed()); // a blank before a caption shows as none
        folded_.push_back(std::move(menu));
    }
}

std::vector<Found> GadgetFinder::find(const QString& typed) const
{
    const QString text = folded(typed);
    std::vector<Found> found;
    for (size_t menu = 0; menu < folded_.size(); ++menu)
        for (qsizetype i = 0; i < folded_[menu].size(); ++i)
            if (const auto rank = rankOf(folded_[menu][i], text))
                found.push_back({ int(menu), int(i) + 1, *rank });
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.rank < b.rank; });
    return found;
}

} // namespace finding
