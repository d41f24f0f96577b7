#include "tracing/NormsDialog.h"

#include "platform/Dialogs.h"
#include "tracing/CephNormsStore.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QListWidget>
#include <QStackedWidget>
#include <QHBoxLayout>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

enum Column { Name, Mean, Sd };

QString numberText(double v) { return QString::number(v, 'g', 12); }

// A number as typed, with a point or a comma; nothing for an empty cell.
std::optional<double> typed(const QString& text, bool* bad)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        *bad = true;
    return v;
}

}  // namespace

NormsDialog::NormsDialog(platform::Dialogs& dialogs, const CephNorms& norms, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_norms(norms)
{
    setObjectName(QStringLiteral("FormNormas"));
    setWindowTitle(QStringLiteral("Normas Cefalométricas"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Média e desvio-padrão de cada medida, por análise. Deixe os dois vazios para uma "
                                            "medida sem norma."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("normasAnalises"));
    list->setAccessibleName(QStringLiteral("Análises"));
    auto* stack = new QStackedWidget;
    stack->setObjectName(QStringLiteral("normasTabelas"));
    for (int i = 0; i < norms.analysisCount(); ++i) {
        auto* t = new QTableWidget(norms.measureCount(i), 3);
        t->setObjectName(QStringLiteral("normas%1").arg(i));
        t->setHorizontalHeaderLabels({QStringLiteral("Medida"), QStringLiteral("Média"), QStringLiteral("DP")});
        t->verticalHeader()->hide();
        t->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
        t->setAccessibleName(QStringLiteral("Normas de ") + norms.title(i));
        for (int row = 0; row < norms.measureCount(i); ++row) {
            const CephKey k{i, row};
            auto* caption = new QTableWidgetItem(norms.caption(k) + QStringLiteral(" (") + UnitText(norms.unit(k)) + QLatin1Char(')'));
            caption->setFlags(caption->flags() & ~Qt::ItemIsEditable);
            t->setItem(row, Name, caption);
            for (int c : {Mean, Sd}) {
                auto* item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                t->setItem(row, c, item);
            }
        }
        m_tables.push_back(t);
        stack->addWidget(t);
        list->addItem(norms.title(i));
    }
    connect(list, &QListWidget::currentRowChanged, stack, &QStackedWidget::setCurrentIndex);
    list->setCurrentRow(0);
    list->setMaximumWidth(190);
    auto* row = new QHBoxLayout;
    row->addWidget(list);
    row->addWidget(stack, 1);
    layout->addLayout(row, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("tOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("tCancelar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* restore = buttons->addButton(QStringLiteral("Restaurar padrões"), QDialogButtonBox::ResetRole);
    restore->setObjectName(QStringLiteral("tRestaurar"));
    connect(restore, &QPushButton::clicked, this, [this] { showNorms(m_norms.restored()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &NormsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NormsDialog::reject);
    layout->addWidget(buttons);
    showNorms(norms);
    resize(680, 560);
}

QTableWidget* NormsDialog::table(const QString& title) const
{
    for (int i = 0; i < m_norms.analysisCount(); ++i)
        if (m_norms.title(i) == title)
            return m_tables[size_t(i)];
    return nullptr;
}

void NormsDialog::showNorms(const CephNorms& norms)
{
    // Norms of these same analyses; a measure they lack keeps its definition's norm.
    for (int i = 0; i < m_norms.analysisCount(); ++i)
        for (int row = 0; row < m_norms.measureCount(i); ++row) {
            const auto k = norms.find(m_norms.title(i), m_norms.caption({i, row}));
            const std::optional<CephNorm> n = k ? norms[*k] : m_norms.restored()[{i, row}];
            m_tables[size_t(i)]->item(row, Mean)->setText(n ? numberText(n->mean) : QString());
            m_tables[size_t(i)]->item(row, Sd)->setText(n ? numberText(n->sd) : QString());
        }
}

std::optional<CephNorms> NormsDialog::edited(QString* why) const
{
    CephNorms out = m_norms;
    for (int i = 0; i < m_norms.analysisCount(); ++i) {
        for (int row = 0; row < m_norms.measureCount(i); ++row) {
            const CephKey m{i, row};
            bool bad = false;
            const auto mean = typed(m_tables[size_t(i)]->item(row, Mean)->text(), &bad);
            const auto sd = typed(m_tables[size_t(i)]->item(row, Sd)->text(), &bad);
            if (!mean && !sd && !bad) {
                out.set(m, std::nullopt);
                continue;
            }
            if (bad || !mean || !sd || !IsSaneNorm({*mean, *sd})) {
                if (why)
                    *why = QStringLiteral("%1, %2: informe a média (entre -1000 e 1000) e o desvio-padrão (de 0,001 a "
                                          "1000), ou deixe os dois vazios.")
                               .arg(m_norms.title(i), m_norms.caption(m));
                return std::nullopt;
            }
            out.set(m, CephNorm{*mean, *sd});
        }
    }
    return out;
}

void NormsDialog::accept()
{
    QString why;
    const auto n = edited(&why);
    if (!n) {
        m_dialogs.ShowNotice(platform::NoticeKind::Warning, why, NormsCaption());
        return;
    }
    m_norms = *n;
    QDialog::accept();
}

void NormsDialog::Edit(platform::Dialogs& dialogs, CephNormsStore& store, QWidget* parent)
{
    NormsDialog dialog(dialogs, store.norms(), parent);
    bool done = false;
    while (!done) {
        dialogs.setHideItemEnabled(false);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        dialogs.setHideItemEnabled(true);
        done = !accepted || store.save(dialog.norms());
    }
}

}  // namespace qv
