#pragma once
// Form3: the diagnosis guide questionnaire.

#include <QWidget>

namespace qv {

class GuideWindow : public QWidget {
    Q_OBJECT
public:
    explicit GuideWindow(QWidget* parent = nullptr);
};

}  // namespace qv
