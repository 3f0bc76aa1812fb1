#include "StorableTextValidator.h"

#include "FieldInputRules.h"

QValidator::State StorableTextValidator::validate(QString &input, int &pos) const
{
    qsizetype removedBeforeCursor = 0;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (FieldInputRules::isAccepted(input[i]))
            input[kept++] = input[i];
        else if (i < pos)
            ++removedBeforeCursor;
    }
    input.truncate(kept);
    pos -= int(removedBeforeCursor);
    return Acceptable;
}
