#include "records/BoltonSheet.h"

namespace qv {

namespace {

constexpr int kNameCapacity = 50;
constexpr int kToothCapacity = 5;
constexpr int kFirstTooth = 1 + kNameCapacity;

std::array<BoltonField, kBoltonFieldCount> buildFields()
{
    std::array<BoltonField, kBoltonFieldCount> t{};
    size_t n = 0;
    int offset = kFirstTooth;
    t[n++] = {BoltonKey::bpaciente, QStringLiteral("bpaciente"), QStringLiteral("Paciente"), BoltonFieldKind::Patient, 0, kNameCapacity,
              QStringLiteral("nome"), true, &BoltonSheet::bpaciente};
    const auto tooth = [&](char prefix, const char* rowCaption, std::array<QString, 12> BoltonSheet::*row, int k) {
        BoltonField f{prefix == 's' ? UpperTooth(k) : LowerTooth(k),
                      QStringLiteral("%1%2").arg(QChar(prefix)).arg(k, 2, 10, QLatin1Char('0')),
                      QStringLiteral("%1 %2").arg(QLatin1String(rowCaption)).arg(k),
                      BoltonFieldKind::Tooth,
                      offset,
                      kToothCapacity,
                      QStringLiteral("%1%2").arg(QChar(prefix)).arg(k),
                      false};
        f.row = row;
        f.tooth = k - 1;
        offset += 1 + kToothCapacity;
        return f;
    };
    for (int k = 1; k <= 12; ++k)
        t[n++] = tooth('s', "Superior", &BoltonSheet::s, k);
    for (int k = 1; k <= 12; ++k)
        t[n++] = tooth('i', "Inferior", &BoltonSheet::i, k);
    // The molars are not printed; the total space window imports them.
    struct Molar {
        BoltonKey key;
        const char* name;
        QString BoltonSheet::*text;
    };
    const Molar molars[] = {
        {BoltonKey::termole, "termole", &BoltonSheet::termole},
        {BoltonKey::termold, "termold", &BoltonSheet::termold},
        {BoltonKey::segmole, "segmole", &BoltonSheet::segmole},
        {BoltonKey::segmold, "segmold", &BoltonSheet::segmold},
    };
    const QString captions[] = {QStringLiteral("Terceiro molar inferior esquerdo"),
                                QStringLiteral("Terceiro molar inferior direito"),
                                QStringLiteral("Segundo molar inferior esquerdo"),
                                QStringLiteral("Segundo molar inferior direito")};
    for (size_t m = 0; m < 4; ++m) {
        t[n++] = {molars[m].key, QString::fromLatin1(molars[m].name), captions[m], BoltonFieldKind::Molar, offset,
                  kToothCapacity, QString(), false, molars[m].text};
        offset += 1 + kToothCapacity;
    }
    Q_ASSERT(n == t.size() && offset == kBoltonFileSize);
    for (size_t k = 0; k < t.size(); ++k)
        Q_ASSERT(t[k].key == BoltonKey(k));
    return t;
}

}  // namespace

const std::array<BoltonField, kBoltonFieldCount>& BoltonFields()
{
    static const std::array<BoltonField, kBoltonFieldCount> fields = buildFields();
    return fields;
}

const BoltonField& BoltonFieldOf(BoltonKey key) { return BoltonFields()[size_t(key)]; }

const BoltonField* FindBoltonField(const QString& objectName)
{
    for (const BoltonField& f : BoltonFields())
        if (f.objectName == objectName)
            return &f;
    return nullptr;
}

BoltonLowerRow LowerRow(const BoltonSheet& sheet)
{
    BoltonLowerRow row;
    row[0] = sheet.termole;
    row[1] = sheet.segmole;
    for (size_t k = 0; k < 12; ++k)
        row[2 + k] = sheet.i[k];
    row[14] = sheet.segmold;
    row[15] = sheet.termold;
    return row;
}

}  // namespace qv
