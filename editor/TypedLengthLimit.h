// A limit on what can be typed into an edit box that leaves text set by
// the program whole: typing and pasting stop at the limit, deleting always
// works, and a longer text set from a menu line is kept uncut.
#pragma once

#include <QValidator>

class QLineEdit;

class TypedLengthLimit final : public QValidator {
    Q_OBJECT
public:
    // Installs itself on `edit` (which owns it).
    TypedLengthLimit(QLineEdit* edit, int maxLength);

    State validate(QString& input, int& pos) const override;

    // Sets the edit's text from the program, uncut whatever its length.
    void setText(const QString& text);

    // What an edit may hold after a change from `previousLength` characters
    // to `input`: the characters typed just before `pos` are cut so that
    // the text stays within max(limit, previousLength).
    static void limit(QString& input, int& pos, int previousLength, int maxLength);

private:
    QLineEdit* edit_;
    int maxLength_;
    int previousLength_ = 0;
};
