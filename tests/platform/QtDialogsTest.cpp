// The real question box: Yes, No, and closed without an answer are three different outcomes.

#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qv::platform;

namespace {

// Runs Confirm on the real box and acts on it once it is up.
Answer confirmAnd(const std::function<void(QMessageBox*)>& act)
{
    QtDialogs dialogs;
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                act(box);
    });
    return dialogs.Confirm(QStringLiteral("             IMPA = 87.0\rDeseja Manter o IMPA atual?"));
}

QPushButton* buttonCaptioned(QMessageBox* box, const QString& caption)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == caption)
            return qobject_cast<QPushButton*>(b);
    return nullptr;
}

TEST(QtDialogs, QuestionAnswersYesNoOrClosed)
{
    EXPECT_EQ(confirmAnd([](QMessageBox* box) { buttonCaptioned(box, QStringLiteral("&Yes"))->click(); }), Answer::Yes);
    EXPECT_EQ(confirmAnd([](QMessageBox* box) { buttonCaptioned(box, QStringLiteral("&No"))->click(); }), Answer::No);
    EXPECT_EQ(confirmAnd([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }), Answer::Closed);
    EXPECT_EQ(confirmAnd([](QMessageBox* box) { box->close(); }), Answer::Closed);
}

TEST(QtDialogs, QuestionIsCaptionedConfirmWithItsTextOnTwoLines)
{
    QString title, text;
    int visibleButtons = 0;
    confirmAnd([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* b : box->buttons())
            visibleButtons += b->isVisibleTo(box);
        box->close();
    });
    EXPECT_EQ(title, QStringLiteral("Confirm"));
    EXPECT_EQ(text, QStringLiteral("             IMPA = 87.0\nDeseja Manter o IMPA atual?"));
    EXPECT_EQ(visibleButtons, 2);
}

}  // namespace
