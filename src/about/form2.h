#pragma once

#include <QWidget>

namespace listora {

class Windows;

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(Windows &windows);

private:
    Windows &windows_;
};

} // namespace listora
