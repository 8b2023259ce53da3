#pragma once

#include <QWidget>

namespace listora {

class Windows;

class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(Windows &windows);

private:
    Windows &windows_;
};

} // namespace listora
