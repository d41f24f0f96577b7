#pragma once
// Form4: required and present space entered tooth by tooth.

#include <QWidget>

namespace qv {

class SpaceEntryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpaceEntryWindow(QWidget* parent = nullptr);
};

}  // namespace qv
