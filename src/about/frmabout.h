#pragma once

#include <QWidget>

namespace listora {

class Windows;

class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(Windows &windows);

private:
    Windows &windows_;
};

} // namespace listora
