#pragma once

#include <QWidget>

namespace listora {

class Windows;

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(Windows &windows);

private:
    Windows &windows_;
};

} // namespace listora
