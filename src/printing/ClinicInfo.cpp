#include "printing/ClinicInfo.h"

#include "records/FileIo.h"
#include "records/IoError.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSettings>

namespace qv::report {

namespace {

const QString kGroup = QStringLiteral("consultorio");

// Quoted, so commas and semicolons stay in the text when QSettings reads it back.
QString iniValue(const QString& text)
{
    QString t = text;
    t.replace(u'\\', QStringLiteral("\\\\"));
    t.replace(u'"', QStringLiteral("\\\""));
    t.replace(u'\n', QStringLiteral("\\n"));
    t.remove(u'\r');
    return u'"' + t + u'"';
}

// A logo larger than this would only slow every print.
constexpr int kMaxLogoSide = 4000;

}  // namespace

QString ClinicInfo::FileName() { return QStringLiteral("Consultório.ini"); }

bool ClinicInfo::isEmpty() const
{
    return clinic.isEmpty() && professional.isEmpty() && registration.isEmpty() && address.isEmpty() && phone.isEmpty()
           && email.isEmpty() && logo.isEmpty();
}

ClinicInfo ClinicInfo::Load(const QString& path)
{
    ClinicInfo c;
    if (!QFileInfo::exists(path))
        return c;
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup(kGroup);
    c.clinic = s.value(QStringLiteral("consultorio")).toString().trimmed();
    c.professional = s.value(QStringLiteral("profissional")).toString().trimmed();
    c.registration = s.value(QStringLiteral("registro")).toString().trimmed();
    c.address = s.value(QStringLiteral("endereco")).toString().trimmed();
    c.phone = s.value(QStringLiteral("telefone")).toString().trimmed();
    c.email = s.value(QStringLiteral("email")).toString().trimmed();
    c.logo = s.value(QStringLiteral("logotipo")).toString().trimmed();
    return c;
}

void ClinicInfo::save(const QString& path) const
{
    QString text = QStringLiteral("; Dados do Consultório, impressos no cabeçalho dos relatórios.\n[%1]\n").arg(kGroup);
    const std::pair<const char*, const QString*> fields[] = {
        {"consultorio", &clinic}, {"profissional", &professional}, {"registro", &registration}, {"endereco", &address},
        {"telefone", &phone},     {"email", &email},               {"logotipo", &logo}};
    for (const auto& [key, value] : fields)
        text += QString::fromLatin1(key) + u'=' + iniValue(value->trimmed()) + u'\n';
    ReplaceFileBytes(path, text.toUtf8());
}

QString ClinicInfo::logoFile() const
{
    if (logo.isEmpty())
        return {};
    const QDir work = QDir::current();
    const QFileInfo stored(work.absoluteFilePath(logo));
    if (stored.isFile())
        return stored.absoluteFilePath();
    const QFileInfo here(work.absoluteFilePath(stored.fileName()));
    return here.isFile() ? here.absoluteFilePath() : QString();
}

QString ClinicInfo::KeepLogo(const QString& chosenPath)
{
    const QFileInfo chosen(chosenPath);
    const QDir work = QDir::current();
    if (chosen.absoluteDir().canonicalPath() == work.canonicalPath())
        return chosen.fileName();
    const QString name = QStringLiteral("Logotipo.") + chosen.suffix().toLower();
    ReplaceFileBytes(work.absoluteFilePath(name), ReadFileBytes(chosen.absoluteFilePath()));
    return name;
}

ParamMap ClinicInfo::params(bool logoReadable) const
{
    ParamMap p;
    p.insert(QStringLiteral("consultorio"), clinic);
    p.insert(QStringLiteral("profissional"), professional);
    p.insert(QStringLiteral("registro"), registration);
    p.insert(QStringLiteral("endereco"), address);
    p.insert(QStringLiteral("telefone"), phone);
    p.insert(QStringLiteral("email"), email);
    if (logoReadable)
        p.insert(QStringLiteral("logotipo"), QStringLiteral("logotipo"));
    if (!isEmpty())
        p.insert(QStringLiteral("timbrado"), QStringLiteral("sim"));
    return p;
}

QImage ClinicInfo::logoImage() const
{
    const QString file = logoFile();
    if (file.isEmpty() || !LogoProblem(file).isEmpty())
        return {};
    QImageReader reader(file);
    return reader.read();
}

QString LogoProblem(const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    QImageReader reader(path);
    const auto unreadable = [&name] {
        return QStringLiteral("O arquivo \"%1\" não é uma imagem que o programa consiga ler.\r"
                              "Escolha uma imagem PNG, JPEG ou BMP.")
            .arg(name);
    };
    if (!QFileInfo(path).isFile() || !reader.canRead())
        return unreadable();
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxLogoSide || size.height() > kMaxLogoSide)
        return QStringLiteral("A imagem \"%1\" é grande demais para o cabeçalho (no máximo %2 × %2 pixels).")
            .arg(name)
            .arg(kMaxLogoSide);
    if (reader.read().isNull())
        return unreadable();
    return {};
}

}  // namespace qv::report
