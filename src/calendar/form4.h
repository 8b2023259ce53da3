#pragma once

#include <QWidget>

namespace listora {

class Windows;

class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(Windows &windows);

private:
    Windows &windows_;
};

} // namespace listora
