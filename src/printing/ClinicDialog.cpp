#include "printing/ClinicDialog.h"

#include "platform/Dialogs.h"
#include "records/IoError.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::report {

namespace {

QLineEdit* field(QWidget* parent, const char* name, const QString& text, const QString& placeholder = {})
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setPlaceholderText(placeholder);
    e->setMaxLength(200);
    e->setMinimumWidth(320);
    return e;
}

}  // namespace

QString ClinicDialog::Caption() { return QStringLiteral("Dados do Consultório"); }

ClinicDialog::ClinicDialog(platform::Dialogs& dialogs, const ClinicInfo& info, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_logo(info.logo)
{
    setObjectName(QStringLiteral("ClinicDialog"));
    setWindowTitle(Caption());
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("O que for preenchido aqui aparece no cabeçalho de todos os relatórios."), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    m_clinic = field(this, "consultorio", info.clinic);
    m_professional = field(this, "profissional", info.professional);
    m_registration = field(this, "registro", info.registration, QStringLiteral("CRO-SP 12345"));
    m_address = field(this, "endereco", info.address);
    m_phone = field(this, "telefone", info.phone);
    m_email = field(this, "email", info.email);
    form->addRow(QStringLiteral("&Consultório:"), m_clinic);
    form->addRow(QStringLiteral("&Profissional:"), m_professional);
    form->addRow(QStringLiteral("&Registro:"), m_registration);
    form->addRow(QStringLiteral("&Endereço:"), m_address);
    form->addRow(QStringLiteral("&Telefone:"), m_phone);
    form->addRow(QStringLiteral("E-&mail:"), m_email);

    auto* logoRow = new QHBoxLayout;
    m_logoView = new QLabel(this);
    m_logoView->setObjectName(QStringLiteral("logoView"));
    m_logoView->setMinimumSize(120, 60);
    m_logoView->setFrameShape(QFrame::StyledPanel);
    m_logoView->setAlignment(Qt::AlignCenter);
    logoRow->addWidget(m_logoView, 1);
    // "&Endereço:" already answers to Alt+E.
    auto* choose = new QPushButton(QStringLiteral("Esc&olher..."), this);
    choose->setObjectName(QStringLiteral("chooseLogo"));
    m_remove = new QPushButton(QStringLiteral("Remo&ver"), this);
    m_remove->setObjectName(QStringLiteral("removeLogo"));
    logoRow->addWidget(choose);
    logoRow->addWidget(m_remove);
    // A row of buttons gives its label no buddy, and a label without one shows its "&".
    auto* logoLabel = new QLabel(QStringLiteral("&Logotipo:"), this);
    logoLabel->setObjectName(QStringLiteral("logoLabel"));
    logoLabel->setBuddy(choose);
    form->addRow(logoLabel, logoRow);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);

    connect(choose, &QPushButton::clicked, this, &ClinicDialog::chooseLogo);
    connect(m_remove, &QPushButton::clicked, this, &ClinicDialog::removeLogo);
    connect(buttons, &QDialogButtonBox::accepted, this, &ClinicDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ClinicDialog::reject);
    showLogo();
}

ClinicInfo ClinicDialog::info() const
{
    ClinicInfo c;
    c.clinic = m_clinic->text().trimmed();
    c.professional = m_professional->text().trimmed();
    c.registration = m_registration->text().trimmed();
    c.address = m_address->text().trimmed();
    c.phone = m_phone->text().trimmed();
    c.email = m_email->text().trimmed();
    c.logo = m_logo;
    return c;
}

void ClinicDialog::chooseLogo()
{
    const QString path = m_dialogs.OpenFile({QString(), QStringLiteral("Imagens|*.png *.jpg *.jpeg *.bmp")});
    m_dialogs.setHideItemEnabled(true);
    if (path.isEmpty())
        return;
    const QString problem = LogoProblem(path);
    if (!problem.isEmpty()) {
        m_dialogs.ShowNotice(platform::NoticeKind::Warning, problem, Caption());
        return;
    }
    // Copied into the working folder only by OK: Cancel leaves the letterhead as it was.
    const QFileInfo chosen(QDir::current().absoluteFilePath(path));
    m_logo = chosen.absoluteDir().canonicalPath() == QDir::current().canonicalPath() ? chosen.fileName()
                                                                                    : chosen.absoluteFilePath();
    showLogo();
}

void ClinicDialog::removeLogo()
{
    m_logo.clear();
    showLogo();
}

void ClinicDialog::showLogo()
{
    ClinicInfo c;
    c.logo = m_logo;
    const QImage image = c.logoImage();
    if (image.isNull()) {
        m_logoView->setPixmap({});
        m_logoView->setText(m_logo.isEmpty() ? QStringLiteral("(nenhum)") : QStringLiteral("(imagem ilegível)"));
    } else {
        m_logoView->setText(QString());
        m_logoView->setPixmap(QPixmap::fromImage(image.scaled(160, 60, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    m_remove->setEnabled(!m_logo.isEmpty());
}

void ClinicDialog::accept()
{
    ClinicInfo c = info();
    try {
        // A logo kept elsewhere (chosen now, or by an older version) joins the working folder,
        // where backups take it; one that is gone stays named as it was.
        const QString file = c.logoFile();
        if (!file.isEmpty())
            c.logo = ClinicInfo::KeepLogo(file);
        c.save();
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        return;
    }
    m_logo = c.logo;
    QDialog::accept();
}

void EditClinicInfo(platform::Dialogs& dialogs, QWidget* parent)
{
    ClinicDialog dialog(dialogs, ClinicInfo::Load(), parent);
    dialog.exec();
}

}  // namespace qv::report
