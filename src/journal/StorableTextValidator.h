#pragma once

#include <QValidator>

// Runs on every change of the text, typed, pasted, dropped or set by the program: "|" and the
// characters with no Windows-1251 byte are left out and the rest is kept, so that nothing in a
// box can break a journal line or change silently when the journal is written. The editor's
// boxes and the certificate's in-place editor both keep to it, so that the page never shows
// what the journal will not hold.
class StorableTextValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
};
