#pragma once
// The Bolton page on a fresh working folder, with scripted boxes and a tray item to watch.

#include "records/BoltonFile.h"
#include "bolton/BoltonPage.h"
#include "bolton/QStringPrinting.h"
#include "platform/PageContext.h"
#include "records/StatsFile.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qv::test {

inline const QString kBoltonCaption = QStringLiteral("Análise de Bolton");

// A worksheet with a mandibular excess in both ratios: 92.0 / 45.0 upper, 87.0 / 37.0 lower.
inline const char* const kUpper[12] = {"10.0", "6.5", "7.0", "7.5", "6.5", "8.5", "8.5", "6.5", "7.5", "7.0", "6.5", "10.0"};
inline const char* const kLower[12] = {"11.0", "7.0", "7.0", "7.0", "6.0", "5.5", "5.5", "6.0", "7.0", "7.0", "7.0", "11.0"};

class BoltonPageTest : public WorkFolderTest {
protected:
    BoltonPageTest() { dialogs.setHideItem(&popOcultar); }

    QAction popOcultar;
    platform::PageContext context{dialogs, [] { return kBoltonCaption; }};
    BoltonPage page{context};

    QLineEdit* field(const QString& name) const
    {
        auto* f = page.findChild<QLineEdit*>(name);
        EXPECT_NE(f, nullptr) << name.toStdString();
        return f;
    }
    QLabel* label(const QString& name) const
    {
        auto* l = page.findChild<QLabel*>(name);
        EXPECT_NE(l, nullptr) << name.toStdString();
        return l;
    }
    QPushButton* button(const QString& name) const
    {
        auto* b = page.findChild<QPushButton*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    QCheckBox* abrirb() const { return page.findChild<QCheckBox*>(QStringLiteral("abrirb")); }

    static QString tooth(char row, int k) { return QStringLiteral("%1%2").arg(QChar(row)).arg(k, 2, 10, QLatin1Char('0')); }

    void fillTeeth(const QString& paciente = QStringLiteral("MARIA DA SILVA"))
    {
        field(QStringLiteral("bpaciente"))->setText(paciente);
        for (int k = 1; k <= 12; ++k) {
            field(tooth('s', k))->setText(QString::fromLatin1(kUpper[k - 1]));
            field(tooth('i', k))->setText(QString::fromLatin1(kLower[k - 1]));
        }
    }
    void fillMolars(const QString& termole = QStringLiteral("11.0"), const QString& segmole = QStringLiteral("10.5"),
                    const QString& segmold = QStringLiteral("10.5"), const QString& termold = QStringLiteral("11.0"))
    {
        field(QStringLiteral("termole"))->setText(termole);
        field(QStringLiteral("segmole"))->setText(segmole);
        field(QStringLiteral("segmold"))->setText(segmold);
        field(QStringLiteral("termold"))->setText(termold);
    }
    void fillAll()
    {
        fillTeeth();
        fillMolars();
    }
    // The full worksheet, no question asked.
    void calculate()
    {
        fillAll();
        button(QStringLiteral("bCalcular"))->click();
    }

    // Entry with `abrirb` checked, as a reopened file whose recalculation a check refused
    // leaves the page: the record holds a name and no teeth.
    void reopenRefused()
    {
        BoltonSheet refused;
        refused.bpaciente = QStringLiteral("RECUSADO");
        work.write(QStringLiteral("Análises/RECUSADO.bol"), EncodeBoltonSheet(refused));
        dialogs.files.push_back(work.file(QStringLiteral("Análises/RECUSADO.bol")));
        page.babrirClick();
        EXPECT_EQ(dialogs.take().type, Box::OpenFile);
        dialogs.expectNotice(platform::NoticeKind::Warning,
                             QStringLiteral("Todos os campos devem ser preenchidos antes do cálculo!"), kBoltonCaption);
        EXPECT_TRUE(abrirb()->isChecked());
        EXPECT_TRUE(page.opened());
        EXPECT_EQ(page.state(), BoltonPage::State::Entry);
    }

    qint32 boltonCount() const { return StatsRecord::decode(work.read(QStringLiteral("Stats.cef"))).boltonCount; }

    QStringList resultTexts() const
    {
        QStringList out;
        for (const BoltonResultLabel& l : kBoltonResultLabels)
            out << label(QString::fromLatin1(l.name))->text();
        return out;
    }
    bool resultsEmpty() const
    {
        for (const QString& t : resultTexts())
            if (!t.isEmpty())
                return false;
        return true;
    }
    QList<QLineEdit*> teethAndName() const
    {
        QList<QLineEdit*> out = {field(QStringLiteral("bpaciente"))};
        for (int k = 1; k <= 12; ++k)
            out << field(tooth('s', k)) << field(tooth('i', k));
        return out;
    }
    QList<QLineEdit*> molarFields() const
    {
        return {field(QStringLiteral("termole")), field(QStringLiteral("segmole")), field(QStringLiteral("segmold")),
                field(QStringLiteral("termold"))};
    }
    bool allReadOnly(const QList<QLineEdit*>& fields) const
    {
        for (QLineEdit* f : fields)
            if (!f->isReadOnly())
                return false;
        return true;
    }
    bool noneReadOnly(const QList<QLineEdit*>& fields) const
    {
        for (QLineEdit* f : fields)
            if (f->isReadOnly())
                return false;
        return true;
    }

    enum class State { Entry, Calculated, Opened, Other };
    State state() const
    {
        const bool calcular = button(QStringLiteral("bCalcular"))->isEnabled();
        const QString limpar = button(QStringLiteral("blimpar"))->text();
        const bool opened = abrirb()->isChecked();
        if (calcular && limpar == QStringLiteral("LIMPAR") && noneReadOnly(teethAndName()))
            return State::Entry;
        if (!calcular && limpar == QStringLiteral("VOLTAR") && !opened && allReadOnly(teethAndName()))
            return State::Calculated;
        if (!calcular && limpar == QStringLiteral("LIMPAR") && opened && allReadOnly(teethAndName())
            && noneReadOnly(molarFields()))
            return State::Opened;
        return State::Other;
    }
};

}  // namespace qv::test
