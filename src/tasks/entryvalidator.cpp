#include "tasks/entryvalidator.h"

#include "tasks/entrytext.h"

#include <algorithm>
#include <utility>

namespace listora {

EntryValidator::EntryValidator(std::function<void(const QString &)> refused, QObject *parent)
    : QValidator(parent), refused_(std::move(refused))
{
}

QValidator::State EntryValidator::validate(QString &input, int &pos) const
{
    const EntryText clean = typedEntryText(input);
    if (clean.text != input) {
        // The caret stays behind what was typed before it.
        pos = int(std::min(typedEntryText(input.left(pos)).text.size(), clean.text.size()));
        input = clean.text;
    }
    if (!clean.refused.isEmpty() && refused_)
        refused_(clean.refused);
    return Acceptable;
}

} // namespace listora
