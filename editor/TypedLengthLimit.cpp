// Typed length limit for edit boxes.
#include "editor/TypedLengthLimit.h"

#include <QLineEdit>

TypedLengthLimit::TypedLengthLimit(QLineEdit* edit, int maxLength)
    : QValidator(edit)
    , edit_(edit)
    , maxLength_(maxLength)
{
    previousLength_ = int(edit->text().size());
    // The validator sees the changed text only; the length before the change
    // is what decides whether a long text may stay.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { previousLength_ = int(text.size()); });
    edit->setValidator(this);
}

void TypedLengthLimit::setText(const QString& text)
{
    previousLength_ = int(text.size());
    edit_->setText(text);
}

QValidator::State TypedLengthLimit::validate(QString& input, int& pos) const
{
    limit(input, pos, previousLength_, maxLength_);
    return Acceptable;
}

void TypedLengthLimit::limit(QString& input, int& pos, int previousLength, int maxLength)
{
    const int allowed = std::max(maxLength, previousLength);
    const int excess = int(input.size()) - allowed;
    if (excess <= 0)
        return;
    const int cut = std::min(excess, pos);
    input.remove(pos - cut, cut);
    pos -= cut;
    if (input.size() > allowed)
        input.truncate(allowed);
    pos = std::min(pos, int(input.size()));
}
