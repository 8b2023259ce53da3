#pragma once

#include <QValidator>

#include <functional>

namespace listora {

// Keeps out of an entry editor what a task file line cannot carry, and tells
// which character it kept out. What it keeps is as typed, letters whole: the
// page's stored form is made when the entry is added or the edit committed.
class EntryValidator final : public QValidator {
public:
    EntryValidator(std::function<void(const QString &)> refused, QObject *parent);
    State validate(QString &input, int &pos) const override;

private:
    std::function<void(const QString &)> refused_;
};

} // namespace listora
