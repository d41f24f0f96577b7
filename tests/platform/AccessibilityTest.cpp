// What a screen reader announces: result labels by what they show (empty when empty), with the
// caption as their description; entry fields by their caption.

#include "tweed/DiagnosisPanel.h"
#include "tweed/TweedPageFixture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace qv;

namespace {

QString spoken(QObject* o, QAccessible::Text t = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    EXPECT_NE(iface, nullptr);
    return iface ? iface->text(t) : QStringLiteral("<no interface>");
}

struct LabelCase {
    const char* what;
    const char* text;
    const char* description;  // empty: none
    const char* name;         // an explicit accessible name; empty: none
    const char* expected;
};

class ResultLabelName : public ::testing::TestWithParam<LabelCase> {};

TEST_P(ResultLabelName, IsWhatItShows)
{
    const LabelCase c = GetParam();
    QGroupBox group(QStringLiteral("Área Anterior"));
    auto* label = new QLabel(QString::fromUtf8(c.text), &group);
    if (*c.description)
        label->setAccessibleDescription(QString::fromUtf8(c.description));
    if (*c.name)
        label->setAccessibleName(QString::fromUtf8(c.name));
    EXPECT_EQ(spoken(label), QString::fromUtf8(c.expected));
    EXPECT_EQ(spoken(label, QAccessible::Description), QString::fromUtf8(c.description));
    label->setText(QStringLiteral("7.5"));
    EXPECT_EQ(spoken(label), *c.name ? QString::fromUtf8(c.name) : QStringLiteral("7.5")) << "follows the text";
}

INSTANTIATE_TEST_SUITE_P(
    Accessibility, ResultLabelName,
    ::testing::Values(LabelCase{"empty", "", "Área Anterior - DM", "", ""},
                      LabelCase{"value", "-2.5", "Área Anterior - DM", "", "-2.5"},
                      LabelCase{"richText", "<b>3.0</b>", "Área Anterior - DC", "", "3.0"},
                      LabelCase{"explicitName", "", "Área Anterior - DM", "Resultado", "Resultado"},
                      // Not a result: Qt's own naming stays, group title included.
                      LabelCase{"noDescription", "", "", "", "Área Anterior"}),
    [](const auto& info) { return std::string(info.param.what); });

using AccessibilityOnPages = qv::test::TweedPageTest;

TEST_F(AccessibilityOnPages, TweedResultReadsEmptyThenItsValue)
{
    QLabel* dm = label("anadmres");
    auto* group = qobject_cast<QGroupBox*>(dm->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("Área Anterior"));
    const QString description = spoken(dm, QAccessible::Description);
    EXPECT_FALSE(description.isEmpty());
    EXPECT_EQ(spoken(dm), QString()) << "not the group's title";

    fillSample();
    calculateAnswering(platform::Answer::Yes);
    ASSERT_FALSE(dm->text().isEmpty());
    EXPECT_EQ(spoken(dm), dm->text());
    EXPECT_EQ(spoken(dm, QAccessible::Description), description);
    for (const char* name : qv::test::kResultLabels)
        EXPECT_EQ(spoken(label(name)), label(name)->text()) << name;
}

TEST_F(AccessibilityOnPages, EntryFieldIsNamedByItsCaption)
{
    for (const char* name : {"twfma", "anaer", "Idade"}) {
        QLineEdit* e = edit(name);
        QLabel* caption = nullptr;
        for (QLabel* l : page->findChildren<QLabel*>())
            if (l->buddy() == e)
                caption = l;
        ASSERT_NE(caption, nullptr) << name;
        EXPECT_FALSE(caption->text().isEmpty());
        EXPECT_EQ(spoken(e), caption->text()) << name;
    }
}

TEST_F(AccessibilityOnPages, SuggestionsReadEmptyWhenClearedAndTheirTextWhenShown)
{
    DiagnosisPanel* panel = page->panel();
    ASSERT_EQ(panel->title(), QStringLiteral("Diagnóstico Sugerido"));
    panel->ClearPanel();
    QList<QLabel*> described;
    for (QLabel* l : panel->findChildren<QLabel*>())
        if (!l->accessibleDescription().isEmpty())
            described << l;
    ASSERT_FALSE(described.isEmpty());
    auto* dsant = panel->findChild<QLabel*>(QStringLiteral("dsant"));
    ASSERT_TRUE(described.contains(dsant));
    const QString description = spoken(dsant, QAccessible::Description);
    for (QLabel* l : described)
        EXPECT_EQ(spoken(l), l->text()) << l->objectName().toStdString();
    EXPECT_EQ(spoken(dsant), QString());

    panel->showState(qv::test::SamplePanel());
    EXPECT_EQ(spoken(dsant), QStringLiteral("Extração"));
    EXPECT_EQ(spoken(dsant, QAccessible::Description), description);
    for (QLabel* l : described)
        EXPECT_EQ(spoken(l), l->text()) << l->objectName().toStdString();
}

}  // namespace
