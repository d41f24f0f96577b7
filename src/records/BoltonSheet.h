#pragma once
// One Bolton analysis as the clinician typed it, and the one table of its fields: the page
// builds its entry fields from the table, the file codec and the report read and write through it.

#include <QString>

#include <array>

namespace qv {

struct BoltonSheet {
    QString bpaciente;
    std::array<QString, 12> s;  // s01 .. s12, upper teeth from first molar to first molar
    std::array<QString, 12> i;  // i01 .. i12, lower teeth likewise
    QString termole, segmole, segmold, termold;

    bool operator==(const BoltonSheet&) const = default;
};

enum class BoltonFieldKind { Patient, Tooth, Molar };

// Every field, in the order of the file record (and of BoltonFields()).
enum class BoltonKey {
    bpaciente,
    s01, s02, s03, s04, s05, s06, s07, s08, s09, s10, s11, s12,
    i01, i02, i03, i04, i05, i06, i07, i08, i09, i10, i11, i12,
    termole, termold, segmole, segmold,
};
// The key of a tooth of a row, k from 1 to 12.
constexpr BoltonKey UpperTooth(int k) { return BoltonKey(int(BoltonKey::s01) + k - 1); }
constexpr BoltonKey LowerTooth(int k) { return BoltonKey(int(BoltonKey::i01) + k - 1); }

struct BoltonField {
    BoltonKey key;
    QString objectName;
    QString caption;       // the label or accessible name on the page; the report's caption too
    BoltonFieldKind kind;
    int fileOffset;        // of the field's length byte in the file record
    int fileCapacity;      // characters the record keeps
    QString reportParam;   // empty: not printed
    bool captionedInReport;  // printed as caption + separator + text

    // Where the field lives in a sheet: a single text, or one tooth of a row.
    QString BoltonSheet::*single = nullptr;
    std::array<QString, 12> BoltonSheet::*row = nullptr;
    int tooth = 0;

    QString& of(BoltonSheet& sheet) const { return row ? (sheet.*row)[size_t(tooth)] : sheet.*single; }
    const QString& of(const BoltonSheet& sheet) const { return row ? (sheet.*row)[size_t(tooth)] : sheet.*single; }
};

inline constexpr int kBoltonFieldCount = 29;
inline constexpr int kBoltonFileSize = 219;

// The 29 fields in the order of the file record: the name, s01 .. s12, i01 .. i12, then the
// molars as stored (termole, termold, segmole, segmold).
const std::array<BoltonField, kBoltonFieldCount>& BoltonFields();

static_assert(int(BoltonKey::segmold) + 1 == kBoltonFieldCount);

const BoltonField& BoltonFieldOf(BoltonKey key);
// The field of that objectName, or nullptr.
const BoltonField* FindBoltonField(const QString& objectName);

// The lower row as the page lays it out, third molar to third molar: termole, segmole,
// i01 .. i12, segmold, termold.
using BoltonLowerRow = std::array<QString, 16>;
BoltonLowerRow LowerRow(const BoltonSheet& sheet);

// The texts of the result labels after a calculation.
struct BoltonResults {
    QString sup12res, sup6res, inf12res, inf6res;
    QString cinf12res, csup12res, x10012res;
    QString cinf6res, csup6res, x1006res;
    QString busca12, busca12res, infobusca12res, res12info;
    QString busca6, busca6res, infobusca6res, res6info;
    QString tab12res, tab6res, res12, res6;
    QString diag12info, diag12, diag6info, diag6;
};

}  // namespace qv
