#include "app/sessionend.h"

namespace listora {

struct SessionEnd::Private {};

SessionEnd::SessionEnd(QObject *parent) : QObject(parent) {}

SessionEnd::~SessionEnd() = default;

} // namespace listora
