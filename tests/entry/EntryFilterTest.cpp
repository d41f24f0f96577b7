// The entry rules on a real QLineEdit: every route a character can take into the field.

#include "entry/EntryFilter.h"
#include "support/WorkFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace qv;
using qv::platform::NoticeKind;

namespace {

const QString kCaption = QStringLiteral("Análise de Tweed");
const QString kPositive = QStringLiteral("Este campo só admite valores REAIS POSITIVOS!");
const QString kSigned = QStringLiteral("Este campo só admite valores REAIS!");

class EntryFilterTest : public qv::test::WorkFolderTest {
protected:
    void SetUp() override
    {
        layout = new QVBoxLayout(&window);
        button = new QPushButton(QStringLiteral("CALCULAR"), &window);
        layout->addWidget(button);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QLineEdit* field(EntryRule rule)
    {
        auto* edit = new QLineEdit(&window);
        layout->addWidget(edit);
        EntryFilter::install(edit, std::move(rule));
        edit->show();
        edit->setFocus();
        return edit;
    }
    QLineEdit* real(RealFamily family, int limit = 5)
    {
        return field(EntryRule::real(family, limit, warner()));
    }
    std::function<void(const QString&)> warner()
    {
        return [this](const QString& t) { dialogs.ShowNotice(NoticeKind::Warning, t, kCaption); };
    }
    static void type(QWidget* w, const QString& keys)
    {
        for (QChar c : keys)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    QWidget window;
    QVBoxLayout* layout = nullptr;
    QPushButton* button = nullptr;
};

TEST_F(EntryFilterTest, CommaBecomesPointAndLeavingKeepsTheText)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    type(twfma, QStringLiteral("1,5"));
    EXPECT_EQ(twfma->text(), QStringLiteral("1.5"));
    button->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(twfma->text(), QStringLiteral("1.5"));
}

TEST_F(EntryFilterTest, PointIntoEmptyFieldIsDiscardedSilently)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    type(twfma, QStringLiteral("."));
    EXPECT_EQ(twfma->text(), QString());
}

TEST_F(EntryFilterTest, MinusInPositiveFieldWarnsWithThePageCaption)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    type(twfma, QStringLiteral("-"));
    EXPECT_EQ(twfma->text(), QString());
    dialogs.expectNotice(NoticeKind::Warning, kPositive, kCaption);
}

TEST_F(EntryFilterTest, SignedFieldTakesMinusOnlyWhenEmpty)
{
    QLineEdit* twls = real(RealFamily::Signed);
    type(twls, QStringLiteral("2-"));
    EXPECT_EQ(twls->text(), QStringLiteral("2"));
    twls->clear();
    type(twls, QStringLiteral("-.5"));
    EXPECT_EQ(twls->text(), QStringLiteral("-.5"));
    button->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(twls->text(), QStringLiteral("-.5"));
    EXPECT_DOUBLE_EQ(ParseReal(twls->text()), -0.5);
}

TEST_F(EntryFilterTest, LeavingALoneMinusEmptiesTheField)
{
    QLineEdit* twls = real(RealFamily::Signed);
    type(twls, QStringLiteral("-"));
    button->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(twls->text(), QString());
}

TEST_F(EntryFilterTest, ControlKeysAreRefusedWithTheFamilyWarning)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    QLineEdit* twls = real(RealFamily::Signed);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    struct Press {
        QLineEdit* edit;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        QString warning;
    };
    const Press presses[] = {
        {twfma, Qt::Key_Return, Qt::NoModifier, kPositive}, {twls, Qt::Key_Enter, Qt::NoModifier, kSigned},
        {twfma, Qt::Key_Escape, Qt::NoModifier, kPositive}, {twfma, Qt::Key_V, Qt::ControlModifier, kPositive},
        {twls, Qt::Key_C, Qt::ControlModifier, kSigned},    {twls, Qt::Key_X, Qt::ControlModifier, kSigned},
        {twfma, Qt::Key_Insert, Qt::ShiftModifier, kPositive},
    };
    for (const Press& p : presses) {
        p.edit->setFocus();
        QTest::keyClick(p.edit, p.key, p.mods);
        EXPECT_EQ(p.edit->text(), QString()) << int(p.key);
        dialogs.expectNotice(NoticeKind::Warning, p.warning, kCaption);
    }
}

TEST_F(EntryFilterTest, ControlCharactersAsX11SendsThemAreRefused)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::sendKeyEvent(QTest::Click, twfma, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    EXPECT_EQ(twfma->text(), QString());
    dialogs.expectNotice(NoticeKind::Warning, kPositive, kCaption);
}

TEST_F(EntryFilterTest, NavigationAndDeletionKeysWorkAsUsual)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    type(twfma, QStringLiteral("123"));
    QTest::keyClick(twfma, Qt::Key_Home);
    QTest::keyClick(twfma, Qt::Key_Delete);
    EXPECT_EQ(twfma->text(), QStringLiteral("23"));
    QTest::keyClick(twfma, Qt::Key_End);
    QTest::keyClick(twfma, Qt::Key_Backspace);
    EXPECT_EQ(twfma->text(), QStringLiteral("2"));
    QTest::keyClick(twfma, Qt::Key_Left);
    type(twfma, QStringLiteral("1"));
    EXPECT_EQ(twfma->text(), QStringLiteral("12"));
}

TEST_F(EntryFilterTest, TypedLengthIsLimitedButNormalisationMayLengthen)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    type(twfma, QStringLiteral("123456"));
    EXPECT_EQ(twfma->text(), QStringLiteral("12345"));
    twfma->setText(QStringLiteral("1234"));
    button->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(twfma->text(), QStringLiteral("1234.0"));
    twfma->setText(QStringLiteral("123456.75"));  // the program may fill longer texts
    EXPECT_EQ(twfma->text(), QStringLiteral("123456.75"));
}

TEST_F(EntryFilterTest, TypingOverASelectionReplacesIt)
{
    QLineEdit* twfma = real(RealFamily::Positive, 4);
    type(twfma, QStringLiteral("1234"));
    twfma->selectAll();
    type(twfma, QStringLiteral("."));  // "." over a full selection of a text without "." is accepted
    EXPECT_EQ(twfma->text(), QStringLiteral("."));
}

TEST_F(EntryFilterTest, InputMethodCommitsGoThroughTheFilter)
{
    QLineEdit* name = field(EntryRule::name(warner()));
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("é"));
    QApplication::sendEvent(name, &composed);
    EXPECT_EQ(name->text(), QStringLiteral("É"));

    QInputMethodEvent refused;
    refused.setCommitString(QStringLiteral("a3"));
    QApplication::sendEvent(name, &refused);
    EXPECT_EQ(name->text(), QStringLiteral("ÉA"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores ALFABÉTICOS!"), kCaption);
}

TEST_F(EntryFilterTest, MiddleClickDoesNotPasteTheSelection)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    QApplication::clipboard()->setText(QStringLiteral("42"), QClipboard::Selection);
    QApplication::clipboard()->setText(QStringLiteral("42"));
    QTest::mouseClick(twfma, Qt::MiddleButton);
    EXPECT_EQ(twfma->text(), QString());
}

TEST_F(EntryFilterTest, DropsAndContextMenusAreNotOffered)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    EXPECT_FALSE(twfma->acceptDrops());
    EXPECT_EQ(twfma->contextMenuPolicy(), Qt::PreventContextMenu);
    QMimeData mime;
    mime.setText(QStringLiteral("77"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(twfma, &drop);
    EXPECT_EQ(twfma->text(), QString());
}

TEST_F(EntryFilterTest, NameFieldUpperCasesAndRefusesDigits)
{
    QLineEdit* twPaciente = field(EntryRule::name(warner()));
    type(twPaciente, QStringLiteral("é"));
    EXPECT_EQ(twPaciente->text(), QStringLiteral("É"));
    type(twPaciente, QStringLiteral("3"));
    EXPECT_EQ(twPaciente->text(), QStringLiteral("É"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores ALFABÉTICOS!"), kCaption);
}

TEST_F(EntryFilterTest, AgeFieldTakesDigitsOnlyAndIsNotNormalised)
{
    QLineEdit* idade = field(EntryRule::integer(warner()));
    type(idade, QStringLiteral("12"));
    EXPECT_EQ(idade->text(), QStringLiteral("12"));
    type(idade, QStringLiteral("."));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores INTEIROS POSITIVOS!"), kCaption);
    button->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(idade->text(), QStringLiteral("12"));
}

TEST_F(EntryFilterTest, ExtraLeaveRuleRunsAfterNormalising)
{
    EntryRule rule = EntryRule::real(RealFamily::Signed, 5, warner());
    rule.afterLeave = [](QLineEdit* e) { e->setText(ForceNegative(e->text())); };
    QLineEdit* anmspee = field(rule);
    type(anmspee, QStringLiteral("3"));
    button->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(anmspee->text(), QStringLiteral("-3.0"));
}

TEST_F(EntryFilterTest, ABoxTakingTheFocusIsNotLeavingTheField)
{
    QLineEdit* twfma = real(RealFamily::Positive);
    type(twfma, QStringLiteral("12"));
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(twfma, &out);
    EXPECT_EQ(twfma->text(), QStringLiteral("12"));
}

}  // namespace
